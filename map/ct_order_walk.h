// Walks a story order front to back for the commands that read it (list, map, check, import's
// preflight, counts). The order is the caller's; the walk moves its current position.
#pragma once

#include "storyorder/ct_story_order.h"
#include "textbox/ct_text_box.h"

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
