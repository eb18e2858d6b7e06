// The story list as the user sees it, written to a stream: the stories in story order, grouped
// under the labels of their pages, each with its numbered label, its key and its layer, and
// for a story the host listed although it is left out, the reason. Also as JSON for scripts,
// and as bare keys of the stories that go out (the form an order file takes).
#pragma once

#include <ostream>

struct CT_StoryListing;

class CT_StoryListPrinter {
  public:
    // The listing must outlive the printer. Counts are shown when it was counted.
    explicit CT_StoryListPrinter(const CT_StoryListing& co_Listing) : co_Listing(co_Listing) {}

    // Page group labels as headings, then one line per story: label, key, place and counts;
    // a line of totals ends the list.
    void v_PrintText(std::ostream& co_Out) const;
    // {"document": ..., "order": ..., "stories": [{"number", "key", "label", "preview", "page",
    // "group", "x", "y", "layer", "export", "left_out", "words", "characters", "repeated_words",
    // "repeated_characters"}, ...], "total": {"words", ...}} with page -1 for master pages and 0
    // for the pasteboard; the counts only when counted; "left_out" is null for a story that
    // goes out.
    void v_PrintJson(std::ostream& co_Out) const;
    void v_PrintKeys(std::ostream& co_Out) const;

  private:
    const CT_StoryListing& co_Listing;
};
