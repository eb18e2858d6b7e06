// The story list as the user sees it, written to a stream: the stories in story order, grouped
// under the labels of their pages, each with its numbered label, its key and its layer, and
// for a story the host listed although it is left out, the reason. Also as JSON for scripts,
// and as bare keys of the stories that go out (the form an order file takes).
#pragma once

#include <ostream>
#include <string>

class CT_StoryCounts;
class CT_IdmlHost;
class CT_StoryOrder;

class CT_StoryListPrinter {
  public:
    // s_DocumentName: the name shown in the heading. The host that listed the stories tells
    // their layers; it must outlive the printer.
    CT_StoryListPrinter(CT_StoryOrder& co_Order, std::string s_DocumentName,
                        const CT_IdmlHost& co_Host);

    // Words and characters to show per story and in total; they must outlive the printer.
    // Without them, the list shows none.
    void v_SetCounts(const CT_StoryCounts* pco_Counts) { pco_StoryCounts = pco_Counts; }

    // Page group labels as headings, then one line per story: label, key, place and counts;
    // a line of totals ends the list.
    void v_PrintText(std::ostream& co_Out);
    // {"document": ..., "order": ..., "stories": [{"number", "key", "label", "preview", "page",
    // "group", "x", "y", "layer", "export", "left_out", "words", "characters", "repeated_words",
    // "repeated_characters"}, ...], "total": {"words", ...}} with page -1 for master pages and 0
    // for the pasteboard; the counts only with v_SetCounts; "left_out" is null for a story that
    // goes out.
    void v_PrintJson(std::ostream& co_Out);
    void v_PrintKeys(std::ostream& co_Out);

    // The name of an order kind as the command line spells it.
    static std::string ss_OrderName(int i_Kind);

  private:
    CT_StoryOrder& co_Order;
    std::string s_DocumentName;
    const CT_StoryCounts* pco_StoryCounts = nullptr;
    const CT_IdmlHost& co_Host;
};
