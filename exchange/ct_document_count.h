// What a translator is paid for in a whole document, story by story in story order: the words
// and characters of every unit (a paragraph, a table cell, a footnote: one line of tagged
// content) that has something to translate, and how much of that repeats a unit met earlier in
// the document. Units of codes, numbers, punctuation and spaces alone are not counted, as
// translation tools skip them. A repeat is a unit whose text, codes and blanks at its ends set
// aside, is the text of an earlier unit: code numbers differ from story to story. Counts with
// one CT_WordCount of its own.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

#include "exchange/ct_word_count.h"

struct CT_StoryTally {
    CT_TextCount co_All;       // every unit with something to translate
    CT_TextCount co_Repeated;  // the part of co_All in units met before
};

class CT_DocumentCount {
  public:
    // co_Locale as for CT_WordCount.
    explicit CT_DocumentCount(const std::string& co_Locale = std::string());

    // Counts the next story's tagged content; "earlier" is the order of these calls.
    CT_StoryTally co_AddStory(std::string_view co_Content);
    const CT_StoryTally& co_GetTotal() const { return co_Total; }

  private:
    CT_WordCount co_Counter;
    std::unordered_set<std::string> co_Seen;
    CT_StoryTally co_Total;
};
