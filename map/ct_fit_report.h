// Whether a translation still fits its frames, story by story in story order: the length of the
// translated content against the document's own (characters as the story list counts them) and
// against the room its frames give it (CT_CapacityEstimate), with a verdict: fits, tight (more
// than nine tenths full) or overflows, and the page (by its printed name) and the frame where
// the text would run out. A story whose own text already overfills the estimate is measured
// against its own text instead: its designer made it fit, so the estimate was short. Stories
// whose frames do not print are listed apart and never flagged. A story whose frames have no
// geometry to measure (text on a path, an anchored frame) falls back on growth: one that grew by
// more than the limit and sits in one frame is at risk; a threaded one can flow on.
#pragma once

#include <cstddef>
#include <map>
#include <ostream>
#include <string>
#include <vector>

class CT_IdmlHost;
class CT_StoryOrder;

enum class et_FitVerdict { e_Fits, e_Tight, e_Overflows, e_Unmeasured };

struct CT_StoryFit {
    unsigned n_Number = 0;
    std::string s_Key;
    std::string s_Label;
    std::size_t n_Source = 0;
    std::size_t n_Translated = 0;
    bool b_InFile = false;  // the file has the story
    unsigned n_Frames = 1;  // frames of the story's thread
    bool b_Prints = true;   // a frame of the story prints; s_NotPrinted says why none does
    std::string s_NotPrinted;
    std::string s_Page;       // the printed name of its first frame's page; empty on the pasteboard
    bool b_OnMaster = false;  // s_Page names a master spread
    std::string s_Frame;      // the frame the text runs out of: the thread's last
    std::size_t n_Capacity = 0;  // characters the frames hold, in the source's script; 0 unmeasured
    double d_Fill = 0;           // how full the translation makes them: 1 is full
    et_FitVerdict eo_Verdict = et_FitVerdict::e_Unmeasured;
    bool b_Grows = false;   // a frame of it grows with its text, so it always fits
    bool b_AtRisk = false;  // printed, and overflowing or (unmeasured) grown too much
};

class CT_FitReport {
  public:
    // More than this share of the room filled is tight.
    static constexpr double sd_Tight = 0.9;

    // No stories: the report of a check that measured nothing.
    CT_FitReport() = default;
    // The host's active document against co_Translated: content by key, as CT_TaggedStories
    // reads it; a story the file lacks keeps its own text. d_MaxGrowth: the growth allowed
    // where nothing can be measured, 0.15 for 15 %. Walks the order (its cursor moves); the
    // host must be the installed one, whose story settings are asked for. The stories are
    // measured on n_Threads threads (this one counted); the report is the same for any number.
    CT_FitReport(const CT_IdmlHost& co_Host, CT_StoryOrder& co_Order,
                 const std::map<std::string, std::string_view>& co_Translated, double d_MaxGrowth,
                 unsigned n_Threads = 1);

    const std::vector<CT_StoryFit>& co_GetStories() const { return co_Stories; }
    std::size_t n_AtRisk() const;
    std::size_t n_Tight() const;
    // The stories at risk, by key, each with a sentence that says why.
    std::map<std::string, std::string> co_GetRisks() const;
    // A sentence on any story's fit, for a reader who points at its frame: why it is at risk,
    // or its verdict and how full its text makes the room, or why it is not judged.
    std::string s_Sentence(const CT_StoryFit& co_Story) const;
    // The growth allowed where nothing can be measured: 0.15 for 15 %.
    double d_GetMaxGrowth() const { return d_MaxGrowth; }

    // One line per printed story, the others apart, and closing lines; JSON: one object,
    // written at the given indent.
    void v_PrintText(std::ostream& co_Out) const;
    void v_PrintJson(std::ostream& co_Out, const std::string& s_Indent) const;

    static const char* spc_Verdict(et_FitVerdict eo_Verdict);

  private:
    struct ct_Measuring;
    // Counts, measures and judges one story, on whichever thread runs it.
    static void sv_Measure(ct_Measuring& co_Measuring, double d_MaxGrowth);
    static std::string ss_Percent(double d_Ratio);
    static std::string ss_Where(const CT_StoryFit& co_Story);
    std::string s_Why(const CT_StoryFit& co_Story) const;
    void v_PrintLine(std::ostream& co_Out, const CT_StoryFit& co_Story) const;

    std::vector<CT_StoryFit> co_Stories;
    double d_MaxGrowth = 0;
};
