// Everything the codec learns from one story's XML: its events in text order, its flows with
// their paragraphs, the tagged content and the table of its codes. Export writes the content;
// import computes the same analysis on the story as it stands to find what each code number
// means. Points into the caller's XML document, which must outlive it and stay unchanged.
#pragma once

#include <pugixml.hpp>

#include <string>
#include <vector>

#include "platform/host/idml/ct_idml_story_code.h"
#include "platform/host/idml/ct_idml_story_event.h"
#include "platform/host/idml/ct_idml_story_flow.h"
#include "platform/host/idml/ct_idml_story_options.h"
#include "platform/host/idml/ct_idml_story_range_keys.h"

class CT_IdmlStoryAnalysis {
  public:
    explicit CT_IdmlStoryAnalysis(const pugi::xml_node& co_Story,
                                  const CT_IdmlStoryOptions& co_Options = {});
    // Only the start of the story: its events through the first point, at or after the one
    // where the text holds n_Characters characters, where no flow is inside a paragraph (a
    // paragraph's codes depend on all of its text). The content is then what the whole
    // content begins with, up to that point, and so are the events and codes. The characters
    // are counted from the text itself, codes and whatever else aside, so the content may hold
    // fewer of them.
    CT_IdmlStoryAnalysis(const pugi::xml_node& co_Story, const CT_IdmlStoryOptions& co_Options,
                         std::size_t n_Characters);
    // Events were left out: only the start was analysed.
    bool b_Started() const { return b_Start; }

    const std::string& cco_Content() const { return co_Content; }
    // The content, for a caller done with the analysis: moved out, not copied.
    std::string s_TakeContent() { return std::move(co_Content); }
    const std::vector<CT_IdmlStoryEvent>& cco_Events() const { return co_Events; }
    const std::vector<CT_IdmlStoryFlow>& cco_Flows() const { return co_Flows; }
    const std::vector<CT_IdmlStoryCode>& cco_Codes() const { return co_Codes; }
    // Key of a character range (see CT_IdmlStoryRangeKeys); new ranges get keys as asked.
    unsigned n_Key(const pugi::xml_node& co_Range) { return co_Keys.n_Key(co_Range); }

  private:
    std::vector<CT_IdmlStoryEvent> co_Events;
    std::vector<CT_IdmlStoryFlow> co_Flows;
    std::vector<CT_IdmlStoryCode> co_Codes;
    CT_IdmlStoryRangeKeys co_Keys;
    std::string co_Content;
    bool b_Start = false;
};
