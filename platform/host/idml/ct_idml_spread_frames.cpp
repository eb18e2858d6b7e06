#include "platform/host/idml/ct_idml_spread_frames.h"

#include <cstring>
#include <utility>

namespace {

bool b_Is(const pugi::xml_node& co_Node, const char* pc_Name) {
    return std::strcmp(co_Node.name(), pc_Name) == 0;
}

// "n" is IDML's null reference.
bool b_IsReference(const char* pc_Id) {
    return *pc_Id != '\0' && std::strcmp(pc_Id, "n") != 0;
}

}  // namespace

// Asked of every element of every spread: one pass over its attributes instead of a search for
// each, and no copy of the layer's id. The first of a name counts, as a search would find it.
CT_IdmlFrameState CT_IdmlFrameState::co_Inside(const pugi::xml_node& co_Item) const {
    CT_IdmlFrameState co_state = *this;
    bool b_layer = false;
    bool b_visible = false;
    bool b_nonprinting = false;
    for (const pugi::xml_attribute& co_attribute : co_Item.attributes()) {
        const char* pc_name = co_attribute.name();
        if (!b_layer && std::strcmp(pc_name, "ItemLayer") == 0) {
            b_layer = true;
            co_state.pc_LayerId = co_attribute.value();
        } else if (!b_visible && std::strcmp(pc_name, "Visible") == 0) {
            b_visible = true;
            co_state.b_Hidden = co_state.b_Hidden || !co_attribute.as_bool(true);
        } else if (!b_nonprinting && std::strcmp(pc_name, "Nonprinting") == 0) {
            b_nonprinting = true;
            co_state.b_NonPrinting = co_state.b_NonPrinting || co_attribute.as_bool(false);
        }
    }
    return co_state;
}

CT_IdmlSpreadOutline CT_IdmlSpreadFrames::sco_Read(const pugi::xml_node& co_Spread, bool b_Master,
                                                   const CT_IdmlPageSize& co_Size) {
    CT_IdmlSpreadOutline co_outline;
    co_outline.s_Name = co_Spread.attribute("Name").value();
    co_outline.co_PageRects = CT_IdmlGeometry::sco_PageRects(co_Spread, b_Master, co_Size);
    for (const pugi::xml_node& co_page : co_Spread.children("Page")) {
        co_outline.co_PageIds.emplace_back(co_page.attribute("Self").value());
    }
    sv_Visit(co_Spread, [&](const pugi::xml_node& co_Item, const CT_IdmlTransform& co_Map,
                            const CT_IdmlFrameState& co_State, bool b_OnPath) {
        sv_Add(co_Item, CT_IdmlGeometry::so_Outline(b_OnPath ? co_Item.parent() : co_Item, co_Map),
               co_State, co_outline.co_Frames);
    });
    return co_outline;
}

void CT_IdmlSpreadFrames::sv_Visit(const pugi::xml_node& co_Spread, const CT_Visit& f_Visit) {
    // The spread's own transform only stacks spreads on the pasteboard: items are placed in
    // spread coordinates, which is what the pages are measured in too.
    sv_Walk(co_Spread, CT_IdmlTransform{}, CT_IdmlFrameState{}, f_Visit);
}

void CT_IdmlSpreadFrames::sv_Walk(const pugi::xml_node& co_Parent, const CT_IdmlTransform& co_Map,
                                  const CT_IdmlFrameState& co_State, const CT_Visit& f_Visit) {
    for (pugi::xml_node co_child : co_Parent.children()) {
        // An item's properties (its outline's points among them, most of a spread's elements)
        // hold values, never items.
        if (co_child.type() != pugi::node_element || b_Is(co_child, "Page") ||
            b_Is(co_child, "Properties")) {
            continue;
        }
        if (b_Is(co_child, "TextPath")) {
            // Text on a path follows the outline, the layer and the state of its carrier.
            f_Visit(co_child, co_Map, co_State, true);
            continue;
        }
        const CT_IdmlFrameState co_state = co_State.co_Inside(co_child);
        const CT_IdmlTransform co_inner = CT_IdmlGeometry::so_Inside(co_child, co_Map);
        if (b_Is(co_child, "TextFrame")) {
            f_Visit(co_child, co_inner, co_state, false);
        }
        sv_Walk(co_child, co_inner, co_state, f_Visit);
    }
}

// A frame that shows no story ("n" is the null reference) is of no use to the box list.
void CT_IdmlSpreadFrames::sv_Add(const pugi::xml_node& co_Item, const CT_IdmlRect& co_Outline,
                                 const CT_IdmlFrameState& co_State,
                                 std::vector<CT_IdmlSpreadFrame>& co_Into) {
    const char* pc_story = co_Item.attribute("ParentStory").value();
    if (!b_IsReference(pc_story)) {
        return;
    }
    CT_IdmlSpreadFrame co_frame;
    co_frame.s_Self = co_Item.attribute("Self").value();
    co_frame.s_Story = pc_story;
    co_frame.b_Start = !b_IsReference(co_Item.attribute("PreviousTextFrame").value());
    co_frame.co_Outline = co_Outline;
    co_frame.s_LayerId = co_State.pc_LayerId;
    co_frame.b_Hidden = co_State.b_Hidden;
    co_frame.b_NonPrinting = co_State.b_NonPrinting;
    co_Into.push_back(std::move(co_frame));
}
