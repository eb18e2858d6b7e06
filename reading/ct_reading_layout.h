// What a reading order is computed from: the spreads of a document with their pages and the
// text frames on them, grouped as the document groups them, and the anchored frames inside
// stories. Plain values that a host fills in (or a test scripts); the layout owns them all.
#pragma once

#include <string>
#include <utility>
#include <vector>

class CT_ReadingLayout {
  public:
    // y grows downwards, so top <= bottom; any unit, as long as one layout uses one.
    struct CT_Rect {
        double left = 0, top = 0, right = 0, bottom = 0;
    };

    // A text frame, or a group of them read as one unit at its bounding box. A frame that is
    // not the first of its story's thread takes room on the page but is not read there: its
    // story is read where the thread starts.
    struct CT_Item {
        std::string s_Key;    // the story a frame shows; empty for a group
        std::string s_Group;  // a group's id, telling groups apart while a layout is built
        CT_Rect co_Bounds;    // a group's is the union of its members'
        bool b_ThreadStart = true;
        bool b_OnPath = false;            // text running along the outline of a frame or a shape
        std::vector<CT_Item> co_Members;  // a group's frames and groups

        bool b_IsGroup() const { return s_Key.empty(); }
    };

    // One page, or the pasteboard of a spread, with the items that lie on it.
    struct CT_Page {
        CT_Rect co_Bounds;
        std::vector<CT_Item> co_Items;
    };

    struct CT_Spread {
        bool b_Master = false;
        bool b_RightToLeft = false;  // bound right to left: its right page is read first
        std::vector<CT_Page> co_Pages;
        CT_Page co_PasteBoard;
    };

    // Master spreads are read before document spreads, each kind in the order given here.
    std::vector<CT_Spread> co_Spreads;
    // Every anchored or inline frame as (the story holding its anchor, its own story), in the
    // order of the anchors in each holder's text.
    std::vector<std::pair<std::string, std::string>> co_Anchored;

    // A group's bounds as the union of its members' (those of nested groups first); for a
    // group without members, nothing changes.
    static void sv_Bound(CT_Item& co_Group);
};
