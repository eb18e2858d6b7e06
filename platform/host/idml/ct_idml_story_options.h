// How a story is shown to the translator: whether its notes are left out, and which conditions
// the document hides (text under them stays in the story exactly as it is and is never shown).
// A plain value; the condition set belongs to the caller and must outlive every use.
#pragma once

#include <string>
#include <unordered_set>

struct CT_IdmlStoryOptions {
    bool b_SkipNotes = false;
    const std::unordered_set<std::string>* pco_HiddenConditions = nullptr;
};
