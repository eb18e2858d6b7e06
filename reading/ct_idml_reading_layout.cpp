#include "reading/ct_idml_reading_layout.h"

#include <algorithm>
#include <cmath>

#include "platform/host/idml/ct_idml_document.h"
#include "platform/host/idml/ct_idml_layout.h"

namespace {

using CT_Item = CT_ReadingLayout::CT_Item;

// A coordinate a broken package makes no number of stands at 0: sorting by it would be
// sorting by nothing.
double d_Finite(double d_Value) {
    return std::isfinite(d_Value) ? d_Value : 0;
}

CT_ReadingLayout::CT_Rect co_Rect(const CT_IdmlRect& co_Rect) {
    return {d_Finite(co_Rect.left), d_Finite(co_Rect.top), d_Finite(co_Rect.right),
            d_Finite(co_Rect.bottom)};
}

// Puts the frame among the items inside its groups, each group found by its id among the
// items around it, or started there.
void v_Insert(std::vector<CT_Item>& co_Items, const CT_IdmlFrame& co_Frame, std::size_t n_Depth) {
    if (n_Depth == co_Frame.co_Groups.size()) {
        CT_Item co_item;
        co_item.s_Key = co_Frame.s_Key;
        co_item.co_Bounds = co_Rect(co_Frame.co_Outline);
        co_item.b_ThreadStart = co_Frame.s_Previous.empty();
        co_item.b_OnPath = co_Frame.b_OnPath;
        co_Items.push_back(std::move(co_item));
        return;
    }
    const std::string& s_group = co_Frame.co_Groups[n_Depth];
    auto it = std::find_if(co_Items.begin(), co_Items.end(), [&s_group](const CT_Item& co_Item) {
        return co_Item.b_IsGroup() && co_Item.s_Group == s_group;
    });
    if (it == co_Items.end()) {
        co_Items.emplace_back();
        co_Items.back().s_Group = s_group;
        it = co_Items.end() - 1;
    }
    v_Insert(it->co_Members, co_Frame, n_Depth + 1);
}

void v_Bound(CT_ReadingLayout::CT_Page& co_Page) {
    for (CT_Item& co_item : co_Page.co_Items) {
        if (co_item.b_IsGroup()) {
            CT_ReadingLayout::sv_Bound(co_item);
        }
    }
}

}  // namespace

CT_ReadingLayout CT_IdmlReadingLayout::sco_Build(const CT_IdmlDocument& co_Document) {
    const CT_IdmlLayout co_layout(co_Document);
    CT_ReadingLayout co_result;
    for (const CT_IdmlSpreadLayout& co_spread : co_layout.co_Spreads()) {
        CT_ReadingLayout::CT_Spread co_reading;
        co_reading.b_Master = co_spread.b_Master;
        co_reading.b_RightToLeft = co_Document.co_PageSize().b_RightToLeft;
        for (const CT_IdmlRect& co_page : co_spread.co_Pages) {
            co_reading.co_Pages.emplace_back();
            co_reading.co_Pages.back().co_Bounds = co_Rect(co_page);
        }
        for (const CT_IdmlFrame& co_frame : co_spread.co_Frames) {
            CT_ReadingLayout::CT_Page& co_page =
                co_frame.i_Page < 0
                    ? co_reading.co_PasteBoard
                    : co_reading.co_Pages[static_cast<std::size_t>(co_frame.i_Page)];
            v_Insert(co_page.co_Items, co_frame, 0);
        }
        for (CT_ReadingLayout::CT_Page& co_page : co_reading.co_Pages) {
            v_Bound(co_page);
        }
        v_Bound(co_reading.co_PasteBoard);
        co_result.co_Spreads.push_back(std::move(co_reading));
    }
    co_result.co_Anchored = co_Document.co_Anchored();
    return co_result;
}
