#include "platform/host/idml/ct_idml_layout.h"

#include <algorithm>
#include <cstring>

#include "platform/host/idml/ct_idml_page_names.h"

namespace {

bool b_Is(const pugi::xml_node& co_Node, const char* pc_Name) {
    return std::strcmp(co_Node.name(), pc_Name) == 0;
}

// "n" is IDML's null reference.
std::string s_Reference(const pugi::xml_node& co_Node, const char* pc_Attribute) {
    std::string s_Id = co_Node.attribute(pc_Attribute).value();
    return s_Id == "n" ? std::string() : s_Id;
}

}  // namespace

CT_IdmlLayout::CT_IdmlLayout(const CT_IdmlDocument& co_Document) : co_Source(co_Document) {
    const CT_IdmlPageNames co_names(co_Document);
    unsigned n_NextPage = 1;
    for (const CT_IdmlSpreadPart& co_Part : co_Document.co_Spreads()) {
        pugi::xml_node co_Node = co_Part.co_Inner;
        CT_IdmlSpreadLayout co_Spread;
        co_Spread.b_Master = co_Part.b_Master;
        co_Spread.co_Pages =
            CT_IdmlGeometry::sco_PageRects(co_Node, co_Part.b_Master, co_Document.co_PageSize());
        if (co_Part.b_Master) {
            co_Spread.s_Name = co_Node.attribute("Name").value();
        } else {
            co_Spread.n_FirstPage = n_NextPage;
            for (std::size_t n = 0; n < co_Spread.co_Pages.size(); ++n) {
                co_Spread.co_PageNames.push_back(co_names.s_Name(n_NextPage++));
            }
        }
        // Items are in spread coordinates, like the pages; the spread's own transform only
        // stacks spreads on the pasteboard.
        std::vector<std::string> co_groups;
        v_Walk(co_Node, CT_IdmlTransform{}, co_Spread, co_groups);
        co_SpreadList.push_back(std::move(co_Spread));
    }
    std::stable_partition(co_SpreadList.begin(), co_SpreadList.end(),
                          [](const CT_IdmlSpreadLayout& co_Spread) { return co_Spread.b_Master; });
    v_CollectAnchors();
}

void CT_IdmlLayout::v_Walk(const pugi::xml_node& co_Parent, const CT_IdmlTransform& co_Map,
                           CT_IdmlSpreadLayout& co_Spread,
                           std::vector<std::string>& co_Groups) const {
    for (pugi::xml_node co_Child : co_Parent.children()) {
        if (b_Is(co_Child, "Page")) {
            continue;
        }
        if (b_Is(co_Child, "TextPath")) {
            v_Add(co_Child, CT_IdmlGeometry::so_Outline(co_Parent, co_Map), co_Spread, co_Groups);
            continue;
        }
        const CT_IdmlTransform co_Inner = CT_IdmlGeometry::so_Inside(co_Child, co_Map);
        if (b_Is(co_Child, "TextFrame")) {
            v_Add(co_Child, CT_IdmlGeometry::so_Outline(co_Child, co_Inner), co_Spread, co_Groups);
        }
        const bool b_group = b_Is(co_Child, "Group");
        if (b_group) {
            co_Groups.push_back(co_Child.attribute("Self").value());
        }
        v_Walk(co_Child, co_Inner, co_Spread, co_Groups);
        if (b_group) {
            co_Groups.pop_back();
        }
    }
}

void CT_IdmlLayout::v_Add(const pugi::xml_node& co_Container, const CT_IdmlRect& co_Outline,
                          CT_IdmlSpreadLayout& co_Spread,
                          const std::vector<std::string>& co_Groups) const {
    CT_IdmlFrame co_Frame;
    co_Frame.s_Key = s_Reference(co_Container, "ParentStory");
    if (co_Frame.s_Key.empty() || !co_Source.b_HasStory(co_Frame.s_Key)) {
        return;
    }
    co_Frame.s_Id = co_Container.attribute("Self").value();
    co_Frame.s_Previous = s_Reference(co_Container, "PreviousTextFrame");
    co_Frame.s_Next = s_Reference(co_Container, "NextTextFrame");
    co_Frame.co_Outline = co_Outline;
    co_Frame.i_Page = CT_IdmlGeometry::si_PageOf(co_Outline, co_Spread.co_Pages);
    co_Frame.co_Groups = co_Groups;
    co_Frame.b_OnPath = b_Is(co_Container, "TextPath");
    co_Spread.co_Frames.push_back(std::move(co_Frame));
}

// Anchored frames are text containers inside a story's XML. Their stories have no place of
// their own on a spread; a picture puts them by the story that holds the anchor.
// The document collected the frames inside stories as it loaded them: no story is parsed again.
void CT_IdmlLayout::v_CollectAnchors() {
    for (const auto& [s_Holder, s_Key] : co_Source.co_Anchored()) {
        if (s_Key != s_Holder) {
            co_Anchors.emplace(s_Key, s_Holder);
        }
    }
}
