#include "map/ct_map_label_layout.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "map/ct_story_map.h"
#include "platform/common/ct_utf8.h"

namespace {
// Average advance of the sans-serif digits and letters the map draws, in ems, rounded up: a
// label reserves at least the room its text takes.
constexpr double gd_DigitEm = 0.68;
constexpr double gd_LetterEm = 0.62;

std::size_t n_Characters(const std::string& s_Text) {
    std::size_t n_count = 0;
    for (std::size_t n = 0; n < s_Text.size(); ++n_count) {
        n += std::max<std::size_t>(1, CT_Utf8::sn_SequenceLength(s_Text, n));
    }
    return n_count;
}

// Touching counts as clear: two boxes collide only when their insides meet.
bool b_Overlap(const CT_IdmlRect& a, const CT_IdmlRect& b, double d_Margin) {
    return a.left < b.right + d_Margin && b.left < a.right + d_Margin &&
           a.top < b.bottom + d_Margin && b.top < a.bottom + d_Margin;
}

CT_IdmlRect co_Box(double d_X, double d_Y, double d_Width, double d_Height) {
    return {d_X, d_Y, d_X + d_Width, d_Y + d_Height};
}

// Steps from d_From to d_To, both ends included, at most about n_Most of them.
std::vector<double> co_Steps(double d_From, double d_To, double d_Step, std::size_t n_Most) {
    std::vector<double> co_steps;
    if (d_To < d_From) {
        return co_steps;
    }
    d_Step = std::max(d_Step, (d_To - d_From) / static_cast<double>(n_Most));
    for (double d = d_From; d < d_To; d += d_Step) {
        co_steps.push_back(d);
    }
    co_steps.push_back(d_To);
    return co_steps;
}

// The text of a page label or heading drawn from its left end at its baseline.
CT_IdmlRect co_TextBox(double d_X, double d_Baseline, double d_Size, const std::string& s_Text) {
    const double d_width = gd_LetterEm * d_Size * static_cast<double>(n_Characters(s_Text));
    return {d_X, d_Baseline - 0.8 * d_Size, d_X + d_width, d_Baseline + 0.25 * d_Size};
}
}  // namespace

CT_MapLabelLayout::CT_MapLabelLayout(const CT_StoryMap& co_Map) : co_Map(co_Map) {
    const std::vector<CT_MapRow>& co_rows = co_Map.co_GetRows();
    for (std::size_t n_row = 0; n_row < co_rows.size(); ++n_row) {
        co_FirstOfRow.push_back(co_Labels.size());
        for (std::size_t n = 0; n < co_rows[n_row].co_Frames.size(); ++n) {
            const CT_MapFrame& co_frame = co_rows[n_row].co_Frames[n];
            CT_MapLabel co_label;
            co_label.n_Row = n_row;
            co_label.n_Frame = n;
            co_label.s_Text =
                co_frame.n_Number == 0 ? "\xE2\x80\x93" : std::to_string(co_frame.n_Number);
            co_label.d_FontSize =
                co_Map.d_Points(co_frame.n_InThread == 1 ? sd_FirstPixels : sd_OtherPixels);
            co_Labels.push_back(std::move(co_label));
        }
    }
    v_AddObstacles();
    const double d_small = co_Map.d_Points(3 * sd_FirstPixels);
    for (std::size_t n_row = 0; n_row < co_rows.size(); ++n_row) {
        for (const CT_MapFrame& co_frame : co_rows[n_row].co_Frames) {
            const CT_IdmlRect& r = co_frame.co_Rect;
            if (!co_frame.b_Anchored &&
                (r.right - r.left < d_small || r.bottom - r.top < d_small)) {
                co_Small.push_back(co_OnPicture(n_row, r));
            }
        }
    }
    // Frames first, the first of each story before its continuations, the smallest first as
    // they have the fewest places; anchored stories then fill the frames that hold them.
    std::vector<std::size_t> co_order(co_Labels.size());
    std::iota(co_order.begin(), co_order.end(), 0);
    auto f_rank = [&](std::size_t n) {
        const CT_MapFrame& co_frame = co_rows[co_Labels[n].n_Row].co_Frames[co_Labels[n].n_Frame];
        const CT_IdmlRect& r = co_frame.co_Rect;
        const int i_kind = co_frame.b_Anchored ? 2 : co_frame.n_InThread == 1 ? 0 : 1;
        return std::make_pair(i_kind, (r.right - r.left) * (r.bottom - r.top));
    };
    std::stable_sort(co_order.begin(), co_order.end(),
                     [&](std::size_t a, std::size_t b) { return f_rank(a) < f_rank(b); });
    for (std::size_t n : co_order) {
        v_Place(n);
    }
}

const CT_MapLabel& CT_MapLabelLayout::co_LabelOf(std::size_t n_Row, std::size_t n_Frame) const {
    return co_Labels[co_FirstOfRow[n_Row] + n_Frame];
}

std::size_t CT_MapLabelLayout::n_Crowded() const {
    return static_cast<std::size_t>(std::count_if(
        co_Labels.begin(), co_Labels.end(), [](const CT_MapLabel& co) { return !co.b_Clear; }));
}

std::string CT_MapLabelLayout::ss_TitleOf(const CT_MapRow& co_Row) {
    if (co_Row.s_Caption.empty() || co_Row.s_Heading.empty()) {
        return co_Row.s_Heading + co_Row.s_Caption;
    }
    return co_Row.s_Heading + ": " + co_Row.s_Caption;
}

CT_IdmlRect CT_MapLabelLayout::co_OnPicture(std::size_t n_Row, const CT_IdmlRect& co_Rect) const {
    const CT_MapRow& co_row = co_Map.co_GetRows()[n_Row];
    return {co_Rect.left + co_row.d_X, co_Rect.top + co_row.d_Y, co_Rect.right + co_row.d_X,
            co_Rect.bottom + co_row.d_Y};
}

void CT_MapLabelLayout::v_AddObstacles() {
    const std::vector<CT_MapRow>& co_rows = co_Map.co_GetRows();
    const double d_page = co_Map.d_Points(sd_PagePixels);
    const double d_heading = co_Map.d_Points(sd_HeadingPixels);
    for (std::size_t n_row = 0; n_row < co_rows.size(); ++n_row) {
        const CT_MapRow& co_row = co_rows[n_row];
        for (const CT_MapPage& co_page : co_row.co_Pages) {
            if (!co_page.s_Label.empty()) {
                const CT_IdmlRect co_at = co_OnPicture(n_row, co_page.co_Rect);
                co_Obstacles.push_back(co_TextBox(co_at.left, co_at.top - co_Map.d_Points(5),
                                                  d_page, co_page.s_Label));
            }
        }
        const std::string s_title = ss_TitleOf(co_row);
        if (!s_title.empty()) {
            const CT_IdmlRect co_at = co_OnPicture(n_row, co_row.co_Extent);
            co_Obstacles.push_back(
                co_TextBox(co_at.left, co_at.top - co_Map.d_Points(22), d_heading, s_title));
        }
    }
    // An arrowhead is six line widths long and as wide, its tip at the end of the line.
    const double d_length = co_Map.d_Points(9) + co_Map.d_Points(1);
    for (const std::vector<CT_MapPoint>& co_thread : co_Map.co_GetThreads()) {
        for (std::size_t n = 0; n + 1 < co_thread.size(); n += 2) {
            const CT_MapPoint& co_from = co_thread[n];
            const CT_MapPoint& co_tip = co_thread[n + 1];
            const double d_dx = co_tip.d_X - co_from.d_X;
            const double d_dy = co_tip.d_Y - co_from.d_Y;
            const double d_norm = std::max(1e-9, std::hypot(d_dx, d_dy));
            const double d_backX = co_tip.d_X - d_dx / d_norm * d_length;
            const double d_backY = co_tip.d_Y - d_dy / d_norm * d_length;
            const double d_half = d_length / 2;
            co_Obstacles.push_back(
                {std::min(co_tip.d_X, d_backX) - d_half, std::min(co_tip.d_Y, d_backY) - d_half,
                 std::max(co_tip.d_X, d_backX) + d_half, std::max(co_tip.d_Y, d_backY) + d_half});
        }
    }
}

// Inside the frame from its top left first, nearest first; then along its outside edges.
std::vector<CT_IdmlRect> CT_MapLabelLayout::co_Candidates(const CT_IdmlRect& co_Frame,
                                                          double d_Width, double d_Height) const {
    double d_step = d_Height / 2;
    auto f_byDistance = [&](std::vector<CT_IdmlRect>& co_Boxes) {
        std::stable_sort(co_Boxes.begin(), co_Boxes.end(),
                         [&](const CT_IdmlRect& a, const CT_IdmlRect& b) {
                             return std::hypot(a.left - co_Frame.left, a.top - co_Frame.top) <
                                    std::hypot(b.left - co_Frame.left, b.top - co_Frame.top);
                         });
    };
    std::vector<CT_IdmlRect> co_inside;
    for (double d_y : co_Steps(co_Frame.top, co_Frame.bottom - d_Height, d_step, 40)) {
        for (double d_x : co_Steps(co_Frame.left, co_Frame.right - d_Width, d_step, 40)) {
            co_inside.push_back(co_Box(d_x, d_y, d_Width, d_Height));
        }
    }
    f_byDistance(co_inside);
    std::vector<CT_IdmlRect> co_outside;
    d_step = d_Height / 4;
    for (double d_x : co_Steps(co_Frame.left - d_Width, co_Frame.right, d_step, 60)) {
        co_outside.push_back(co_Box(d_x, co_Frame.top - d_Height, d_Width, d_Height));
        co_outside.push_back(co_Box(d_x, co_Frame.bottom, d_Width, d_Height));
    }
    for (double d_y : co_Steps(co_Frame.top - d_Height, co_Frame.bottom, d_step, 60)) {
        co_outside.push_back(co_Box(co_Frame.left - d_Width, d_y, d_Width, d_Height));
        co_outside.push_back(co_Box(co_Frame.right, d_y, d_Width, d_Height));
    }
    f_byDistance(co_outside);
    co_inside.insert(co_inside.end(), co_outside.begin(), co_outside.end());
    return co_inside;
}

bool CT_MapLabelLayout::b_IsFree(const CT_IdmlRect& co_Box) const {
    if (co_Box.left < 0 || co_Box.top < 0 || co_Box.right > co_Map.d_GetWidth() ||
        co_Box.bottom > co_Map.d_GetHeight()) {
        return false;
    }
    // A pixel apart, so that rounding the coordinates never makes two touch.
    const double d_margin = co_Map.d_Points(1);
    auto f_hits = [&](const CT_IdmlRect& co_Other) {
        return b_Overlap(co_Box, co_Other, d_margin);
    };
    return std::none_of(co_Placed.begin(), co_Placed.end(), f_hits) &&
           std::none_of(co_Obstacles.begin(), co_Obstacles.end(), f_hits);
}

void CT_MapLabelLayout::v_Place(std::size_t n_Label) {
    CT_MapLabel& co_label = co_Labels[n_Label];
    const CT_MapFrame& co_frame = co_Map.co_GetRows()[co_label.n_Row].co_Frames[co_label.n_Frame];
    const double d_height = 1.4 * co_label.d_FontSize;
    const double d_width =
        std::max(d_height, (gd_DigitEm * static_cast<double>(n_Characters(co_label.s_Text)) + 0.7) *
                               co_label.d_FontSize);
    const CT_IdmlRect co_own = co_OnPicture(co_label.n_Row, co_frame.co_Rect);
    const std::vector<CT_IdmlRect> co_candidates = co_Candidates(co_own, d_width, d_height);
    // A frame too small for its number needs the room around it: take it from another
    // frame's number only when nothing else is left.
    auto co_free =
        std::find_if(co_candidates.begin(), co_candidates.end(), [&](const CT_IdmlRect& co) {
            return b_IsFree(co) &&
                   std::none_of(co_Small.begin(), co_Small.end(), [&](const CT_IdmlRect& co_Small) {
                       return b_Overlap(co, co_Small, 0) &&
                              !b_Overlap(co_Small, co_own, -co_Map.d_Points(0.01));
                   });
        });
    if (co_free == co_candidates.end()) {
        co_free = std::find_if(co_candidates.begin(), co_candidates.end(),
                               [&](const CT_IdmlRect& co) { return b_IsFree(co); });
    }
    co_label.b_Clear = co_free != co_candidates.end();
    co_label.co_Box = co_label.b_Clear ? *co_free : co_candidates.front();
    co_Placed.push_back(co_label.co_Box);
}
