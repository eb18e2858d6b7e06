#include "reading/ct_reading_layout.h"

#include <algorithm>

void CT_ReadingLayout::sv_Bound(CT_Item& co_Group) {
    bool b_first = true;
    for (CT_Item& co_member : co_Group.co_Members) {
        if (co_member.b_IsGroup()) {
            sv_Bound(co_member);
        }
        const CT_Rect& co_inner = co_member.co_Bounds;
        CT_Rect& co_outer = co_Group.co_Bounds;
        co_outer = b_first ? co_inner
                           : CT_Rect{std::min(co_outer.left, co_inner.left),
                                     std::min(co_outer.top, co_inner.top),
                                     std::max(co_outer.right, co_inner.right),
                                     std::max(co_outer.bottom, co_inner.bottom)};
        b_first = false;
    }
}
