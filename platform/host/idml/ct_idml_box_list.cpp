#include "platform/host/idml/ct_idml_box_list.h"

#include <utility>

CT_IdmlBoxList::CT_IdmlBoxList(const CT_IdmlDocument& co_Document,
                               const CT_IdmlSelection& co_Selection)
    : co_Source(co_Document), co_Selection(co_Selection) {
    std::size_t n_frames = 0;
    for (const CT_IdmlSpreadPart& co_Spread : co_Document.co_SpreadOutlines()) {
        n_frames += co_Spread.co_Outline.co_Frames.size();
    }
    co_Frames.reserve(n_frames);
    co_List.reserve(n_frames);
    for (const CT_IdmlSpreadPart& co_Spread : co_Document.co_SpreadOutlines()) {
        v_ScanSpread(co_Spread);
    }
    v_PlaceAnchored();
}

std::vector<CT_IdmlBox> CT_IdmlBoxList::co_Boxes(bool b_IgnorePasteBoard) const {
    std::vector<CT_IdmlBox> co_Result;
    for (CT_IdmlBox& co_Box : co_AllBoxes(b_IgnorePasteBoard)) {
        if (co_Box.s_LeftOut.empty()) {
            co_Result.push_back(std::move(co_Box));
        }
    }
    return co_Result;
}

std::vector<CT_IdmlBox> CT_IdmlBoxList::co_AllBoxes(bool b_IgnorePasteBoard) const& {
    return so_Marked(co_List, b_IgnorePasteBoard);
}

std::vector<CT_IdmlBox> CT_IdmlBoxList::co_AllBoxes(bool b_IgnorePasteBoard) && {
    return so_Marked(std::move(co_List), b_IgnorePasteBoard);
}

std::vector<CT_IdmlBox> CT_IdmlBoxList::so_Marked(std::vector<CT_IdmlBox> co_Boxes,
                                                  bool b_IgnorePasteBoard) {
    for (CT_IdmlBox& co_Box : co_Boxes) {
        if (b_IgnorePasteBoard && co_Box.b_OnPasteBoard && co_Box.s_LeftOut.empty()) {
            co_Box.s_LeftOut = "on the pasteboard";
        }
    }
    return co_Boxes;
}

void CT_IdmlBoxList::v_ScanSpread(const CT_IdmlSpreadPart& co_Spread) {
    b_MasterSpread = co_Spread.b_Master;
    s_SpreadName = co_Spread.co_Outline.s_Name;
    co_PageRects = co_Spread.co_Outline.co_PageRects;
    n_FirstPage = n_NextPage;
    if (!b_MasterSpread) {
        n_NextPage += static_cast<unsigned>(co_PageRects.size());
    }
    for (const CT_IdmlSpreadFrame& co_frame : co_Spread.co_Outline.co_Frames) {
        v_Consider(co_frame);
    }
}

void CT_IdmlBoxList::v_Consider(const CT_IdmlSpreadFrame& co_Met) {
    const std::string& s_Key = co_Met.s_Story;
    if (!co_Source.b_HasStory(s_Key)) {
        return;
    }
    const CT_IdmlFrameState co_state = co_Met.co_State();
    co_Frames.push_back({co_Met.s_Self, s_Key, CT_IdmlSelection::ss_LayerName(co_state, co_Source),
                         co_Selection.s_LeftOut(co_state, co_Source)});
    const CT_Frame& co_frame = co_Frames.back();
    const bool b_Start = co_Met.b_Start;
    const CT_IdmlRect& co_Outline = co_Met.co_Outline;
    auto co_Found = co_IndexByKey.find(s_Key);
    if (co_Found == co_IndexByKey.end()) {
        co_IndexByKey.emplace(s_Key, co_List.size());
        co_List.push_back(co_Place(s_Key, co_Outline));
        co_List.back().s_Layer = co_frame.s_Layer;
        co_List.back().s_LeftOut = co_frame.s_LeftOut;
    } else {
        // A story threaded across frames goes out whole when any one of them is kept; it is
        // shown on the layer of a kept frame, the thread's first one when that is kept.
        CT_IdmlBox& co_box = co_List[co_Found->second];
        const bool b_place = b_Start && co_ThreadStarts.count(s_Key) == 0;
        std::string s_layer = std::move(co_box.s_Layer);
        std::string s_leftOut = std::move(co_box.s_LeftOut);
        if (b_place) {
            // A later frame of the thread was met first; the first frame places the story.
            co_box = co_Place(s_Key, co_Outline);
        }
        const bool b_take = co_frame.s_LeftOut.empty() ? !s_leftOut.empty() || b_place
                                                       : !s_leftOut.empty() && b_place;
        co_box.s_Layer = b_take ? co_frame.s_Layer : std::move(s_layer);
        co_box.s_LeftOut = b_take ? co_frame.s_LeftOut : std::move(s_leftOut);
        if (!b_place) {
            return;
        }
    }
    if (b_Start) {
        co_ThreadStarts.insert(s_Key);
    }
}

CT_IdmlBox CT_IdmlBoxList::co_Place(const std::string& s_Key, const CT_IdmlRect& co_Outline) const {
    CT_IdmlBox co_Box;
    co_Box.s_Key = s_Key;
    co_Box.co_Position = {CT_IdmlGeometry::si_WholePoints(co_Outline.left),
                          CT_IdmlGeometry::si_WholePoints(co_Outline.top)};
    int i_Page = CT_IdmlGeometry::si_PageOf(co_Outline, co_PageRects);
    if (i_Page < 0) {
        co_Box.b_OnPasteBoard = true;
        return co_Box;
    }
    if (b_MasterSpread) {
        co_Box.b_OnMasterPage = true;
        co_Box.n_Page = static_cast<unsigned>(i_Page);
        co_Box.s_SpreadName = s_SpreadName;
        return co_Box;
    }
    co_Box.n_Page = n_FirstPage + static_cast<unsigned>(i_Page);
    return co_Box;
}

// Anchored and inline frames sit inside the text of another story and have no place of their
// own in the layout. A reader meets them where their anchor stands: right after the story that
// holds it, in the order of the anchors in that text, a nested one right after its own holder.
// So each is placed exactly where the outermost holder's box is, on its page: no other box
// sorts between them in any order. Boxes that sort alike come out of the story order in the
// reverse of this list (the story order takes new boxes in at the front one by one), so the
// holder and its anchored stories are listed in the reverse of their reading. A story anchored
// in two places, or in itself, is listed once.
void CT_IdmlBoxList::v_PlaceAnchored() {
    std::unordered_map<std::string, std::vector<std::string>> co_inside;
    for (const auto& [s_holder, s_key] : co_Source.co_Anchored()) {
        if (co_IndexByKey.count(s_key) == 0 && co_Source.b_HasStory(s_key)) {
            co_inside[s_holder].push_back(s_key);
        }
    }
    if (co_inside.empty()) {
        return;
    }
    std::unordered_set<std::string> co_seen;
    for (const CT_IdmlBox& co_box : co_List) {
        co_seen.insert(co_box.s_Key);
    }
    std::vector<CT_IdmlBox> co_placed;
    co_placed.reserve(co_List.size());
    std::vector<std::string> co_read;  // a holder and its anchored stories, as read
    std::vector<std::string> co_stack;
    for (CT_IdmlBox& co_box : co_List) {
        co_read.clear();
        co_stack.assign(1, co_box.s_Key);
        while (!co_stack.empty()) {
            std::string s_key = std::move(co_stack.back());
            co_stack.pop_back();
            auto co_found = co_inside.find(s_key);
            co_read.push_back(std::move(s_key));
            if (co_found == co_inside.end()) {
                continue;
            }
            for (auto it = co_found->second.rbegin(); it != co_found->second.rend(); ++it) {
                if (co_seen.insert(*it).second) {
                    co_stack.push_back(*it);
                }
            }
        }
        for (auto it = co_read.rbegin(); it + 1 != co_read.rend(); ++it) {
            CT_IdmlBox co_anchored = co_box;
            co_anchored.s_Key = *it;
            co_placed.push_back(std::move(co_anchored));
        }
        co_placed.push_back(std::move(co_box));
    }
    co_List = std::move(co_placed);
    co_IndexByKey.clear();
    for (std::size_t n = 0; n < co_List.size(); ++n) {
        co_IndexByKey.emplace(co_List[n].s_Key, n);
    }
}
