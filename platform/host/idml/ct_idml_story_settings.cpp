#include "platform/host/idml/ct_idml_story_settings.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <unordered_set>

#include "platform/common/ct_error_code.h"
#include "platform/host/idml/ct_idml_spread_frames.h"

namespace {

// "n" is IDML's null reference.
std::string s_Reference(const pugi::xml_node& co_Node, const char* pc_Attribute) {
    const std::string s_id = co_Node.attribute(pc_Attribute).value();
    return s_id == "n" ? std::string() : s_id;
}

// A length a frame can have: a number, not negative, not absurd; anything else is 0, and
// nothing at all is the default.
double d_Length(const char* pc_Text, double d_Default) {
    if (*pc_Text == '\0') {
        return d_Default;
    }
    const char* pc_end = pc_Text + std::strlen(pc_Text);
    double d_value = 0;
    const std::from_chars_result co_read = std::from_chars(pc_Text, pc_end, d_value);
    if (co_read.ec != std::errc() || co_read.ptr != pc_end) {
        return 0;
    }
    return std::isfinite(d_value) && d_value >= 0 && d_value < 1e6 ? d_value : 0;
}

// Insets are one length for every side or a list: top, left, bottom, right.
void v_ReadInsets(const pugi::xml_node& co_Preference, CT_FrameSetting& co_Frame) {
    const pugi::xml_node co_insets = co_Preference.child("Properties").child("InsetSpacing");
    double ad_sides[4] = {0, 0, 0, 0};
    if (co_insets.child("ListItem")) {
        int i_side = 0;
        for (pugi::xml_node co_item : co_insets.children("ListItem")) {
            if (i_side < 4) {
                ad_sides[i_side++] = d_Length(co_item.text().get(), 0);
            }
        }
    } else if (co_insets) {
        ad_sides[0] = ad_sides[1] = ad_sides[2] = ad_sides[3] = d_Length(co_insets.text().get(), 0);
    }
    co_Frame.d_InsetTop = ad_sides[0];
    co_Frame.d_InsetLeft = ad_sides[1];
    co_Frame.d_InsetBottom = ad_sides[2];
    co_Frame.d_InsetRight = ad_sides[3];
}

void v_ReadPreference(const pugi::xml_node& co_Item, CT_FrameSetting& co_Frame) {
    const pugi::xml_node co_preference = co_Item.child("TextFramePreference");
    const double d_columns = d_Length(co_preference.attribute("TextColumnCount").value(), 1);
    co_Frame.n_Columns = d_columns >= 1 && d_columns <= 40 ? static_cast<unsigned>(d_columns) : 1;
    co_Frame.d_Gutter = d_Length(co_preference.attribute("TextColumnGutter").value(), 12);
    const std::string s_sizing = co_preference.attribute("AutoSizingType").value();
    co_Frame.b_GrowsWithText = !s_sizing.empty() && s_sizing != "Off";
    v_ReadInsets(co_preference, co_Frame);
}

}  // namespace

CT_IdmlStorySettings::CT_IdmlStorySettings(const CT_IdmlDocument& co_Document)
    : co_Source(co_Document), co_PageNames(co_Document), co_Styles(sco_ReadStyles(co_Document)) {
    unsigned n_nextPage = 1;
    // Frames' settings are read from the trees once: nothing here holds on to them.
    co_Document.v_VisitSpreads([&](const CT_IdmlSpreadPart& co_part,
                                   const pugi::xml_node& co_node) {
        CT_Spread co_spread;
        co_spread.b_Master = co_part.b_Master;
        co_spread.s_Name = co_part.co_Outline.s_Name;
        co_spread.co_Pages = co_part.co_Outline.co_PageRects;
        if (!co_part.b_Master) {
            co_spread.n_FirstPage = n_nextPage;
            n_nextPage += static_cast<unsigned>(co_spread.co_Pages.size());
        }
        CT_IdmlSpreadFrames::sv_Visit(
            co_node, [&](const pugi::xml_node& co_Item, const CT_IdmlTransform& co_Map,
                         const CT_IdmlFrameState& co_State,
                         bool b_OnPath) { v_Add(co_Item, co_Map, co_State, co_spread, b_OnPath); });
    });
    for (const auto& [s_holder, s_key] : co_Document.co_Anchored()) {
        if (s_holder != s_key) {
            co_AnchorHolders.emplace(s_key, s_holder);
        }
    }
}

// A text path's item is its carrier: the path's outline is the carrier's, and it has no area
// that text fills.
void CT_IdmlStorySettings::v_Add(const pugi::xml_node& co_Item, const CT_IdmlTransform& co_Map,
                                 const CT_IdmlFrameState& co_State, const CT_Spread& co_Spread,
                                 bool b_OnPath) {
    const std::string s_key = s_Reference(co_Item, "ParentStory");
    if (s_key.empty() || !co_Source.b_HasStory(s_key)) {
        return;
    }
    const pugi::xml_node co_shape = b_OnPath ? co_Item.parent() : co_Item;
    CT_Frame co_frame;
    CT_FrameSetting& co_setting = co_frame.co_Setting;
    co_setting.s_Id = co_Item.attribute("Self").value();
    co_frame.s_Previous = s_Reference(co_Item, "PreviousTextFrame");
    co_frame.s_Next = s_Reference(co_Item, "NextTextFrame");
    const CT_IdmlRect co_outline = CT_IdmlGeometry::so_Outline(co_shape, co_Map);
    const int i_page = CT_IdmlGeometry::si_PageOf(co_outline, co_Spread.co_Pages);
    co_setting.b_OnPasteBoard = i_page < 0;
    co_setting.b_OnMasterPage = co_Spread.b_Master && i_page >= 0;
    if (co_setting.b_OnMasterPage) {
        co_setting.s_Page = co_Spread.s_Name;
    } else if (!co_setting.b_OnPasteBoard) {
        co_setting.s_Page =
            co_PageNames.s_Name(co_Spread.n_FirstPage + static_cast<unsigned>(i_page));
    }
    co_setting.s_NotPrinted = co_setting.b_OnPasteBoard
                                  ? "on the pasteboard"
                                  : co_Printing.s_LeftOut(co_State, co_Source);
    co_setting.b_Prints = co_setting.s_NotPrinted.empty();
    if (!b_OnPath) {
        // The outline in the frame's own coordinates, stretched as its transform stretches it.
        const CT_IdmlRect co_own = CT_IdmlGeometry::so_Outline(co_Item, CT_IdmlTransform{});
        co_setting.d_Width = (co_own.right - co_own.left) * std::hypot(co_Map.a, co_Map.b);
        co_setting.d_Height = (co_own.bottom - co_own.top) * std::hypot(co_Map.c, co_Map.d);
        co_setting.b_HasGeometry = std::isfinite(co_setting.d_Width) &&
                                   std::isfinite(co_setting.d_Height) && co_setting.d_Width > 0 &&
                                   co_setting.d_Height > 0;
        v_ReadPreference(co_Item, co_setting);
    }
    co_Frames[s_key].push_back(std::move(co_frame));
}

// From the frame nothing comes before, along the links; frames the links miss (a damaged
// thread) follow in the order met.
std::vector<CT_FrameSetting> CT_IdmlStorySettings::co_FramesOf(const std::string& s_Key) const {
    std::vector<CT_FrameSetting> co_ordered;
    const auto co_found = co_Frames.find(s_Key);
    if (co_found == co_Frames.end()) {
        return co_ordered;
    }
    const std::vector<CT_Frame>& co_frames = co_found->second;
    std::unordered_map<std::string, std::size_t> co_byId;
    for (std::size_t n = 0; n < co_frames.size(); ++n) {
        co_byId.emplace(co_frames[n].co_Setting.s_Id, n);
    }
    std::vector<bool> co_taken(co_frames.size(), false);
    for (std::size_t n_start = 0; n_start < co_frames.size(); ++n_start) {
        if (co_taken[n_start] || co_byId.count(co_frames[n_start].s_Previous) != 0) {
            continue;
        }
        for (std::size_t n = n_start; !co_taken[n];) {
            co_taken[n] = true;
            co_ordered.push_back(co_frames[n].co_Setting);
            const auto co_next = co_byId.find(co_frames[n].s_Next);
            if (co_next == co_byId.end()) {
                break;
            }
            n = co_next->second;
        }
    }
    for (std::size_t n = 0; n < co_frames.size(); ++n) {
        if (!co_taken[n]) {
            co_ordered.push_back(co_frames[n].co_Setting);
        }
    }
    return co_ordered;
}

std::vector<CT_TypeRun> CT_IdmlStorySettings::co_TypeOf(const std::string& s_Key) const {
    std::vector<CT_TypeRun> co_runs;
    co_Source.b_ReadStory(
        s_Key, [&](const pugi::xml_node& co_Story) { co_runs = co_Styles.co_TypeOf(co_Story); });
    return co_runs;
}

CT_IdmlTypeStyles CT_IdmlStorySettings::sco_ReadStyles(const CT_IdmlDocument& co_Document) {
    // A styles part that is no XML leaves every style saying nothing: the estimate takes the
    // defaults, as the export, which never reads the styles, takes the document whole.
    try {
        if (const std::unique_ptr<CT_IdmlXmlPart> pco_styles = co_Document.pco_ReadStyles()) {
            return CT_IdmlTypeStyles(pco_styles->co_Root());
        }
    } catch (et_ErrorCode) {
    }
    return CT_IdmlTypeStyles();
}

CT_StorySetting CT_IdmlStorySettings::co_Setting(const std::string& s_Key,
                                                 const std::vector<CT_TypeRun>* pco_Type) const {
    CT_StorySetting co_setting;
    if (!co_Source.b_HasStory(s_Key)) {
        return co_setting;
    }
    co_setting.co_Frames = co_FramesOf(s_Key);
    // An anchored story stands where its holder's first frame does; a chain of anchors is
    // followed as far as it leads somewhere, and no further than it has links.
    std::unordered_set<std::string> co_seen{s_Key};
    for (std::string s_holder = s_Key; co_setting.co_Frames.empty();) {
        const auto co_holder = co_AnchorHolders.find(s_holder);
        if (co_holder == co_AnchorHolders.end() || !co_seen.insert(co_holder->second).second) {
            break;
        }
        s_holder = co_holder->second;
        std::vector<CT_FrameSetting> co_holderFrames = co_FramesOf(s_holder);
        if (!co_holderFrames.empty()) {
            CT_FrameSetting co_frame = co_holderFrames.front();
            co_frame.s_Id.clear();
            co_frame.b_HasGeometry = false;
            co_frame.d_Width = co_frame.d_Height = 0;
            co_frame.b_GrowsWithText = false;
            co_setting.co_Frames.push_back(co_frame);
        }
    }
    co_setting.co_Type = pco_Type != nullptr ? *pco_Type : co_TypeOf(s_Key);
    return co_setting;
}
