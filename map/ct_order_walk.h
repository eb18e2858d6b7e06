// Walks a story order front to back for the commands that read it (list, map, check, import's
// preflight, counts), and says what the story list shows of each story, which list and the map
// show alike. The order is the caller's; the walk moves its current position and sets the boxes'
// list labels.
#pragma once

#include <string>
#include <utility>

#include "storyorder/ct_story_order.h"
#include "textbox/ct_page.h"
#include "textbox/ct_text_box.h"

// A story at its place in the order, as the story list shows it.
struct CT_OrderEntry {
    unsigned n_Number = 0;  // place in the story order, from 1
    std::string s_Key;
    std::string s_Label;    // the story list's label, "Story N: preview"
    std::string s_Preview;  // the start of its text
    std::string s_Group;    // the list group: "Master Pages", "Pasteboard", "Page N"
};

// Calls f_Visit(box, index) for each box, the index counting from 0 in story order.
template <class F>
void v_ForEachBox(CT_StoryOrder& co_Order, F f_Visit) {
    if (co_Order.b_IsEmpty()) {
        return;
    }
    unsigned n_index = 0;
    co_Order.v_GotoFirst();
    do {
        f_Visit(*co_Order.pco_GetCurrent(), n_index++);
    } while (co_Order.b_Next());
}

// The story list's label of a page's group: -1 the master pages, 0 the pasteboard.
inline std::string s_GroupLabel(int i_Page) {
    CT_Page co_page(i_Page);
    co_page.v_SetListLabel(0);
    return std::string(co_page.cco_GetListLabel().sv());
}

// Calls f_Visit(box, entry) for each box in story order.
template <class F>
void v_ForEachEntry(CT_StoryOrder& co_Order, F f_Visit) {
    v_ForEachBox(co_Order, [&](CT_TextBox& co_Box, unsigned n_Index) {
        co_Box.v_SetListLabel(n_Index);
        CT_String co_preview;
        co_Box.v_GetText(co_preview, 1);
        CT_OrderEntry co_entry;
        co_entry.n_Number = n_Index + 1;
        co_entry.s_Key = std::string(co_Box.cco_GetKey().sv());
        co_entry.s_Label = std::string(co_Box.cco_GetListLabel().sv());
        co_entry.s_Preview = std::string(co_preview.sv());
        co_entry.s_Group = s_GroupLabel(co_Box.i_GetPage());
        f_Visit(co_Box, std::move(co_entry));
    });
}
