#include "map/ct_story_map.h"

#include <algorithm>
#include <cstdio>
#include <set>
#include <unordered_map>
#include <utility>

#include "map/ct_order_walk.h"
#include "platform/host/idml/ct_idml_layout.h"
#include "storyorder/ct_story_order.h"
#include "textbox/ct_page.h"
#include "textbox/ct_text_box.h"

namespace {
void v_Include(CT_IdmlRect& co_Extent, bool& b_First, const CT_IdmlRect& co_Rect) {
    if (b_First) {
        co_Extent = co_Rect;
        b_First = false;
        return;
    }
    co_Extent.left = std::min(co_Extent.left, co_Rect.left);
    co_Extent.top = std::min(co_Extent.top, co_Rect.top);
    co_Extent.right = std::max(co_Extent.right, co_Rect.right);
    co_Extent.bottom = std::max(co_Extent.bottom, co_Rect.bottom);
}

std::string s_Points(double d_Value) {
    char ac_text[32];
    std::snprintf(ac_text, sizeof ac_text, "%.1f", d_Value);
    std::string s_text = ac_text;
    if (s_text.size() > 2 && s_text.compare(s_text.size() - 2, 2, ".0") == 0) {
        s_text.resize(s_text.size() - 2);
    }
    return (s_text == "-0" ? "0" : s_text) + " pt";
}

// The page of the spread whose centre is nearest to the rectangle's.
std::size_t n_NearestPage(const std::vector<CT_IdmlRect>& co_Pages, const CT_IdmlRect& co_Rect) {
    const auto f_distance = [&co_Rect](const CT_IdmlRect& co_Page) {
        const double d_x = (co_Page.left + co_Page.right - co_Rect.left - co_Rect.right) / 2;
        const double d_y = (co_Page.top + co_Page.bottom - co_Rect.top - co_Rect.bottom) / 2;
        return d_x * d_x + d_y * d_y;
    };
    std::size_t n_nearest = 0;
    for (std::size_t n = 1; n < co_Pages.size(); ++n) {
        n_nearest = f_distance(co_Pages[n]) < f_distance(co_Pages[n_nearest]) ? n : n_nearest;
    }
    return n_nearest;
}

// The page a frame is measured from, and how it is named: its own, or on the pasteboard the
// nearest; a master spread's pages by the master's name.
std::string s_PlaceOf(const CT_IdmlSpreadLayout& co_Spread, const CT_IdmlFrame& co_Frame) {
    const CT_IdmlRect& co_outline = co_Frame.co_Outline;
    if (co_Spread.co_Pages.empty()) {
        return "x " + s_Points(co_outline.left) + ", y " + s_Points(co_outline.top) +
               " on the spread";
    }
    const std::size_t n_page = co_Frame.i_Page < 0 ? n_NearestPage(co_Spread.co_Pages, co_outline)
                                                   : static_cast<std::size_t>(co_Frame.i_Page);
    const CT_IdmlRect& co_page = co_Spread.co_Pages[n_page];
    std::string s_page;
    if (!co_Spread.b_Master) {
        s_page = "page " + co_Spread.co_PageNames[n_page];
    } else if (co_Spread.co_Pages.size() == 2) {
        s_page = std::string(n_page == 0 ? "the left" : "the right") + " page of master " +
                 co_Spread.s_Name;
    } else {
        s_page = "master " + co_Spread.s_Name;
    }
    return "x " + s_Points(co_outline.left - co_page.left) + ", y " +
           s_Points(co_outline.top - co_page.top) +
           (co_Frame.i_Page < 0 ? " from " + s_page + ", on the pasteboard" : " on " + s_page);
}

// A frame of the layout with where it went in the rows, while threads are put in order.
struct CT_Pending {
    std::size_t n_Row;
    std::size_t n_Frame;
    const CT_IdmlFrame* pco_Frame;
};

// The frames of one story in thread order: from the first frame that starts a thread along the
// next-frame links, then any frame the links did not reach, in layout order. A broken thread
// still shows every frame once; the first frame is the one the box list places the story by.
std::vector<CT_Pending> co_InThreadOrder(const std::vector<CT_Pending>& co_Frames) {
    std::unordered_map<std::string, std::size_t> co_ById;
    for (std::size_t n = 0; n < co_Frames.size(); ++n) {
        co_ById.emplace(co_Frames[n].pco_Frame->s_Id, n);
    }
    std::vector<CT_Pending> co_Ordered;
    std::vector<bool> co_Taken(co_Frames.size(), false);
    for (std::size_t n = 0; n < co_Frames.size(); ++n) {
        if (!co_Frames[n].pco_Frame->s_Previous.empty()) {
            continue;
        }
        for (std::size_t n_At = n; !co_Taken[n_At];) {
            co_Taken[n_At] = true;
            co_Ordered.push_back(co_Frames[n_At]);
            auto co_Next = co_ById.find(co_Frames[n_At].pco_Frame->s_Next);
            if (co_Next == co_ById.end()) {
                break;
            }
            n_At = co_Next->second;
        }
        break;
    }
    for (std::size_t n = 0; n < co_Frames.size(); ++n) {
        if (!co_Taken[n]) {
            co_Ordered.push_back(co_Frames[n]);
        }
    }
    return co_Ordered;
}
}  // namespace

CT_StoryMap::CT_StoryMap(const CT_IdmlLayout& co_Layout, CT_StoryOrder& co_Order,
                         bool b_IgnorePasteBoard, std::map<std::string, std::string> co_Reasons)
    : co_Reasons(std::move(co_Reasons)), s_PasteBoard(s_GroupLabel(0)) {
    v_ReadOrder(co_Order);
    v_AddRows(co_Layout, b_IgnorePasteBoard);
    v_NamePlaces();
    v_Scale();
    v_AddAnchored(co_Layout);
    v_Stack();
}

void CT_StoryMap::v_ReadOrder(CT_StoryOrder& co_Order) {
    v_ForEachEntry(co_Order, [&](CT_TextBox& co_Box, CT_OrderEntry co_Entry) {
        co_StoryIndex.emplace(co_Entry.s_Key, co_Stories.size());
        co_Stories.emplace_back();
        static_cast<CT_OrderEntry&>(co_Stories.back()) = std::move(co_Entry);
        co_Stories.back().i_Page = co_Box.i_GetPage();
    });
}

void CT_StoryMap::v_AddRows(const CT_IdmlLayout& co_Layout, bool b_IgnorePasteBoard) {
    std::map<std::string, std::vector<CT_Pending>> co_pending;
    std::vector<std::string> co_keys;  // in layout order
    for (const CT_IdmlSpreadLayout& co_spread : co_Layout.co_Spreads()) {
        CT_MapRow co_row;
        if (co_spread.b_Master && (co_Rows.empty() || co_Rows.back().s_Caption.empty())) {
            co_row.s_Heading = s_GroupLabel(-1);
        }
        co_row.s_Caption = co_spread.s_Name;
        bool b_first = true;
        for (std::size_t n = 0; n < co_spread.co_Pages.size(); ++n) {
            std::string s_label;
            if (!co_spread.b_Master) {
                s_label =
                    std::string(CT_Page::sco_PrintedLabel(co_spread.co_PageNames[n].c_str()).sv());
                co_PageLabels[static_cast<int>(co_spread.n_FirstPage + n)] = s_label;
            }
            co_row.co_Pages.push_back({co_spread.co_Pages[n], std::move(s_label)});
            v_Include(co_row.co_Extent, b_first, co_spread.co_Pages[n]);
        }
        for (const CT_IdmlFrame& co_frame : co_spread.co_Frames) {
            CT_MapFrame co_mapFrame;
            co_mapFrame.s_Key = co_frame.s_Key;
            co_mapFrame.co_Rect = co_frame.co_Outline;
            co_mapFrame.b_OnPasteBoard = co_frame.i_Page < 0;
            co_mapFrame.s_Place = s_PlaceOf(co_spread, co_frame);
            v_Include(co_row.co_Extent, b_first, co_frame.co_Outline);
            if (co_pending.count(co_frame.s_Key) == 0) {
                co_keys.push_back(co_frame.s_Key);
            }
            co_pending[co_frame.s_Key].push_back(
                {co_Rows.size(), co_row.co_Frames.size(), &co_frame});
            co_row.co_Frames.push_back(std::move(co_mapFrame));
        }
        co_Rows.push_back(std::move(co_row));
    }
    for (const std::string& s_key : co_keys) {
        std::vector<CT_Place>& co_places = co_FramesOf[s_key];
        unsigned n_inThread = 0;
        for (const CT_Pending& co_frame : co_InThreadOrder(co_pending[s_key])) {
            co_places.push_back({co_frame.n_Row, co_frame.n_Frame});
            co_Rows[co_frame.n_Row].co_Frames[co_frame.n_Frame].n_InThread = ++n_inThread;
        }
        const std::string s_why = s_WhyLeftOut(s_key, b_IgnorePasteBoard);
        if (!s_why.empty()) {
            co_LeftOut.emplace_back(s_key, s_why);
        }
        const auto co_found = co_StoryIndex.find(s_key);
        for (const CT_Place& co_place : co_places) {
            CT_MapFrame& co_frame = co_Rows[co_place.n_Row].co_Frames[co_place.n_Frame];
            co_frame.n_Number =
                co_found == co_StoryIndex.end() ? 0 : co_Stories[co_found->second].n_Number;
            co_frame.s_LeftOut = s_why;
        }
    }
}

// The list groups a document page's stories under its printed name, and a story is placed by
// its first frame, as the list places it.
void CT_StoryMap::v_NamePlaces() {
    for (CT_MapStory& co_story : co_Stories) {
        const auto co_label = co_PageLabels.find(co_story.i_Page);
        if (co_label != co_PageLabels.end()) {
            co_story.s_Group = co_label->second;
        }
        const auto co_frames = co_FramesOf.find(co_story.s_Key);
        if (co_frames != co_FramesOf.end()) {
            const CT_Place& co_first = co_frames->second.front();
            co_story.s_Place = co_Rows[co_first.n_Row].co_Frames[co_first.n_Frame].s_Place;
        }
    }
}

std::string CT_StoryMap::s_WhyLeftOut(const std::string& s_Key, bool b_IgnorePasteBoard) const {
    if (co_StoryIndex.count(s_Key) != 0) {
        return std::string();
    }
    const CT_Place& co_first = co_FramesOf.at(s_Key).front();
    if (b_IgnorePasteBoard && co_Rows[co_first.n_Row].co_Frames[co_first.n_Frame].b_OnPasteBoard) {
        return "on the pasteboard, which is ignored";
    }
    const auto co_reason = co_Reasons.find(s_Key);
    return co_reason != co_Reasons.end() ? co_reason->second : "not in the story list";
}

// An anchored story is marked in the first frame of the story that holds its anchor, where the
// story list places it; the mark's rectangle is that frame, where the label layout puts it.
void CT_StoryMap::v_AddAnchored(const CT_IdmlLayout& co_Layout) {
    for (const CT_MapStory& co_story : co_Stories) {
        if (co_FramesOf.count(co_story.s_Key) != 0) {
            continue;
        }
        // Anchors nest; follow them out to a story that has a frame of its own.
        std::string s_holder = co_story.s_Key;
        std::set<std::string> co_seen;
        while (co_FramesOf.count(s_holder) == 0 && co_seen.insert(s_holder).second) {
            const auto co_in = co_Layout.co_AnchoredIn().find(s_holder);
            if (co_in == co_Layout.co_AnchoredIn().end()) {
                break;
            }
            s_holder = co_in->second;
        }
        const auto co_holder = co_FramesOf.find(s_holder);
        if (co_holder == co_FramesOf.end()) {
            continue;
        }
        const CT_Place co_at = co_holder->second.front();
        CT_MapFrame co_mark;
        co_mark.s_Key = co_story.s_Key;
        co_mark.n_Number = co_story.n_Number;
        co_mark.b_Anchored = true;
        co_mark.co_Rect = co_Rows[co_at.n_Row].co_Frames[co_at.n_Frame].co_Rect;
        co_FramesOf[co_story.s_Key].push_back({co_at.n_Row, co_Rows[co_at.n_Row].co_Frames.size()});
        co_Rows[co_at.n_Row].co_Frames.push_back(std::move(co_mark));
    }
}

// Spreads keep their own origin, the spine of facing pages, one above the other: a right-hand
// page stays right of the spine whichever spread it is on.
void CT_StoryMap::v_Scale() {
    bool b_first = true;
    for (const CT_MapRow& co_row : co_Rows) {
        d_Left = b_first ? co_row.co_Extent.left : std::min(d_Left, co_row.co_Extent.left);
        d_Right = b_first ? co_row.co_Extent.right : std::max(d_Right, co_row.co_Extent.right);
        b_first = false;
    }
    d_Scale = std::min(1.0, sd_MaxPixels / std::max(1.0, d_Right - d_Left));
}

void CT_StoryMap::v_Stack() {
    const double d_gap = d_Points(44);
    double d_y = d_gap;
    for (CT_MapRow& co_row : co_Rows) {
        co_row.d_X = d_gap - d_Left;
        co_row.d_Y = d_y - co_row.co_Extent.top;
        d_y += co_row.co_Extent.bottom - co_row.co_Extent.top + d_gap;
    }
    d_Width = d_Right - d_Left + 2 * d_gap;
    d_Height = d_y;
    for (const auto& co_entry : co_FramesOf) {
        const std::vector<CT_Place>& co_places = co_entry.second;
        if (co_places.size() < 2) {
            continue;
        }
        std::vector<CT_MapPoint> co_thread;
        for (std::size_t n = 0; n < co_places.size(); ++n) {
            if (n > 0) {
                co_thread.push_back(co_OnPicture(co_places[n], false));
            }
            if (n + 1 < co_places.size()) {
                co_thread.push_back(co_OnPicture(co_places[n], true));
            }
        }
        co_Threads.push_back(std::move(co_thread));
    }
    for (const CT_MapStory& co_story : co_Stories) {
        const auto co_found = co_FramesOf.find(co_story.s_Key);
        if (co_found != co_FramesOf.end()) {
            co_Path.push_back(co_OnPicture(co_found->second.front(), false));
        }
    }
}

CT_MapPoint CT_StoryMap::co_OnPicture(const CT_Place& co_Place, bool b_End) const {
    const CT_MapRow& co_row = co_Rows[co_Place.n_Row];
    const CT_IdmlRect& co_rect = co_row.co_Frames[co_Place.n_Frame].co_Rect;
    return b_End ? CT_MapPoint{co_row.d_X + co_rect.right, co_row.d_Y + co_rect.bottom}
                 : CT_MapPoint{co_row.d_X + co_rect.left, co_row.d_Y + co_rect.top};
}
