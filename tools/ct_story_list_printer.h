// The story list as the user sees it, written to a stream: the stories in story order, grouped
// under the labels of their pages, each with its numbered label and its key. Also as JSON for
// scripts, and as bare keys (the form an order file takes).
#pragma once

#include <ostream>
#include <string>

class CT_StoryOrder;

class CT_StoryListPrinter {
  public:
    // s_DocumentName: the name shown in the heading.
    CT_StoryListPrinter(CT_StoryOrder& co_Order, std::string s_DocumentName);

    // Page group labels as headings, then one line per story: label, then key.
    void v_PrintText(std::ostream& co_Out);
    // {"document": ..., "order": ..., "stories": [{"number", "key", "label", "preview", "page",
    // "group"}, ...]} with page -1 for master pages and 0 for the pasteboard.
    void v_PrintJson(std::ostream& co_Out);
    void v_PrintKeys(std::ostream& co_Out);

    // The name of an order kind as the command line spells it.
    static std::string ss_OrderName(int i_Kind);

  private:
    CT_StoryOrder& co_Order;
    std::string s_DocumentName;
};
