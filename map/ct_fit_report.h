// Whether a translation still fits its frames, story by story in story order: the length of the
// translated content against the document's own (characters as the story list counts them),
// their ratio, and how many frames the story runs through. A story that grew by more than the
// limit and sits in one frame, with no threaded continuation to flow into, is at risk of
// overflowing. A threaded story is shown, not flagged: its text can move on to the next frame.
#pragma once

#include <cstddef>
#include <map>
#include <ostream>
#include <string>
#include <vector>

class CT_IdmlHost;
class CT_StoryOrder;

struct CT_StoryFit {
    unsigned n_Number = 0;
    std::string s_Key;
    std::string s_Label;
    std::size_t n_Source = 0;
    std::size_t n_Translated = 0;
    bool b_InFile = false;  // the file has the story
    unsigned n_Frames = 1;  // frames of the story's thread
    bool b_AtRisk = false;
};

class CT_FitReport {
  public:
    // No stories: the report of a check that measured nothing.
    CT_FitReport() = default;
    // The host's active document against co_Translated: content by key, as CT_TaggedStories
    // reads it. d_MaxGrowth: the growth allowed, 0.15 for 15 %. Walks the order (its cursor
    // moves).
    CT_FitReport(const CT_IdmlHost& co_Host, CT_StoryOrder& co_Order,
                 const std::map<std::string, std::string>& co_Translated, double d_MaxGrowth);

    const std::vector<CT_StoryFit>& co_GetStories() const { return co_Stories; }
    std::size_t n_AtRisk() const;
    // The stories at risk, by key, each with a sentence that says why.
    std::map<std::string, std::string> co_GetRisks() const;

    // One line per story and a closing line; JSON: one object, written at the given indent.
    void v_PrintText(std::ostream& co_Out) const;
    void v_PrintJson(std::ostream& co_Out, const std::string& s_Indent) const;

  private:
    static std::string ss_Percent(double d_Ratio);
    std::string s_Why(const CT_StoryFit& co_Story) const;

    std::vector<CT_StoryFit> co_Stories;
    double d_MaxGrowth = 0;
};
