#include "platform/host/idml/ct_idml_spread_frames.h"

#include <cstring>

namespace {

bool b_Is(const pugi::xml_node& co_Node, const char* pc_Name) {
    return std::strcmp(co_Node.name(), pc_Name) == 0;
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

std::vector<CT_IdmlSpreadFrame> CT_IdmlSpreadFrames::sco_Find(const pugi::xml_node& co_Spread) {
    std::vector<CT_IdmlSpreadFrame> co_frames;
    // The spread's own transform only stacks spreads on the pasteboard: items are placed in
    // spread coordinates, which is what the pages are measured in too.
    sv_Walk(co_Spread, CT_IdmlTransform{}, CT_IdmlFrameState{}, co_frames);
    return co_frames;
}

void CT_IdmlSpreadFrames::sv_Walk(const pugi::xml_node& co_Parent, const CT_IdmlTransform& co_Map,
                                  const CT_IdmlFrameState& co_State,
                                  std::vector<CT_IdmlSpreadFrame>& co_Into) {
    for (pugi::xml_node co_child : co_Parent.children()) {
        // An item's properties (its outline's points among them, most of a spread's elements)
        // hold values, never items.
        if (co_child.type() != pugi::node_element || b_Is(co_child, "Page") ||
            b_Is(co_child, "Properties")) {
            continue;
        }
        if (b_Is(co_child, "TextPath")) {
            // Text on a path follows the outline, the layer and the state of its carrier.
            co_Into.push_back(
                {co_child, co_Map, CT_IdmlGeometry::so_Outline(co_Parent, co_Map), co_State, true});
            continue;
        }
        const CT_IdmlFrameState co_state = co_State.co_Inside(co_child);
        const pugi::xml_attribute co_transform = co_child.attribute("ItemTransform");
        const CT_IdmlTransform co_inner =
            co_transform ? CT_IdmlGeometry::so_Then(
                               CT_IdmlGeometry::so_ParseTransform(co_transform.value()), co_Map)
                         : co_Map;
        if (b_Is(co_child, "TextFrame")) {
            co_Into.push_back({co_child, co_inner, CT_IdmlGeometry::so_Outline(co_child, co_inner),
                               co_state, false});
        }
        sv_Walk(co_child, co_inner, co_state, co_Into);
    }
}
