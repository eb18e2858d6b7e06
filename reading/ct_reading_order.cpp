#include "reading/ct_reading_order.h"

#include <algorithm>
#include <unordered_map>

namespace {

double d_Height(const CT_ReadingLayout::CT_Rect& co_Rect) {
    return co_Rect.bottom - co_Rect.top;
}

double d_Width(const std::vector<const CT_ReadingLayout::CT_Item*>& co_Items) {
    double d_left = co_Items.front()->co_Bounds.left, d_right = co_Items.front()->co_Bounds.right;
    for (const CT_ReadingLayout::CT_Item* pco_item : co_Items) {
        d_left = std::min(d_left, pco_item->co_Bounds.left);
        d_right = std::max(d_right, pco_item->co_Bounds.right);
    }
    return d_right - d_left;
}

}  // namespace

CT_ReadingOrder::CT_ReadingOrder(const CT_ReadingLayout& co_Layout) {
    v_ReadSpreads(co_Layout, true);
    for (const CT_ReadingLayout::CT_Spread& co_spread : co_Layout.co_Spreads) {
        for (const std::string& s_key : sco_Read(co_spread.co_PasteBoard.co_Items)) {
            v_Add(s_key);
        }
    }
    v_ReadSpreads(co_Layout, false);
    co_Keys = sco_WithAnchored(co_Keys, co_Layout.co_Anchored);
}

void CT_ReadingOrder::v_ReadSpreads(const CT_ReadingLayout& co_Layout, bool b_Master) {
    for (const CT_ReadingLayout::CT_Spread& co_spread : co_Layout.co_Spreads) {
        if (co_spread.b_Master != b_Master) {
            continue;
        }
        std::vector<const CT_ReadingLayout::CT_Page*> co_pages;
        for (const CT_ReadingLayout::CT_Page& co_page : co_spread.co_Pages) {
            co_pages.push_back(&co_page);
        }
        const bool b_rtl = co_spread.b_RightToLeft;
        std::stable_sort(co_pages.begin(), co_pages.end(), [b_rtl](auto* pco_A, auto* pco_B) {
            return b_rtl ? pco_A->co_Bounds.right > pco_B->co_Bounds.right
                         : pco_A->co_Bounds.left < pco_B->co_Bounds.left;
        });
        for (const CT_ReadingLayout::CT_Page* pco_page : co_pages) {
            for (const std::string& s_key : sco_Read(pco_page->co_Items)) {
                v_Add(s_key);
            }
        }
    }
}

void CT_ReadingOrder::v_Add(const std::string& s_Key) {
    if (co_Seen.insert(s_Key).second) {
        co_Keys.push_back(s_Key);
    }
}

// An anchored story is read where its anchor is: right after its holder.
std::vector<std::string> CT_ReadingOrder::sco_WithAnchored(
    const std::vector<std::string>& co_Keys,
    const std::vector<std::pair<std::string, std::string>>& co_Anchored) {
    std::unordered_set<std::string> co_seen(co_Keys.begin(), co_Keys.end());
    std::unordered_map<std::string, std::vector<std::string>> co_inside;
    for (const auto& [s_holder, s_key] : co_Anchored) {
        if (co_seen.count(s_key) == 0) {
            co_inside[s_holder].push_back(s_key);
        }
    }
    std::vector<std::string> co_placed;
    std::vector<std::string> co_stack;
    for (const std::string& s_key : co_Keys) {
        co_stack.push_back(s_key);
        while (!co_stack.empty()) {
            std::string s_next = std::move(co_stack.back());
            co_stack.pop_back();
            auto co_found = co_inside.find(s_next);
            co_placed.push_back(std::move(s_next));
            if (co_found == co_inside.end()) {
                continue;
            }
            for (auto it = co_found->second.rbegin(); it != co_found->second.rend(); ++it) {
                if (co_seen.insert(*it).second) {
                    co_stack.push_back(*it);
                }
            }
        }
    }
    return co_placed;
}

std::vector<std::string> CT_ReadingOrder::sco_Read(const std::vector<CT_Item>& co_Items) {
    CT_Items co_items;
    for (const CT_Item& co_item : co_Items) {
        co_items.push_back(&co_item);
    }
    std::vector<std::string> co_out;
    sv_Read(std::move(co_items), co_out, 0);
    return co_out;
}

// Cut the region where nothing crosses: first into bands one under the other, which a reader
// finishes one by one, then into columns side by side. What no cut divides is read in rows.
void CT_ReadingOrder::sv_Read(CT_Items co_Items, std::vector<std::string>& co_Out,
                              unsigned n_Depth) {
    if (co_Items.empty()) {
        return;
    }
    if (co_Items.size() == 1) {
        sv_ReadOne(*co_Items.front(), co_Out, n_Depth + 1);
        return;
    }
    // A page built to part one frame at a time would cut as deep as it has frames; past a
    // depth no page of a person's making reaches, what is left is read by rows.
    if (n_Depth > sn_MaxDepth) {
        for (CT_Items& co_row : sco_Rows(std::move(co_Items))) {
            for (const CT_Item* pco_item : co_row) {
                sv_ReadOne(*pco_item, co_Out, n_Depth + 1);
            }
        }
        return;
    }
    // The widest white space parts the region first, across or down, and the parts are read
    // in turn, each cut again: a fold between panels is wider than the space between two
    // blocks of one panel, the space under a headline wider than the fold beneath it.
    const std::vector<CT_Items> co_bands = sco_Bands(co_Items, -sd_Overlap);
    const std::vector<CT_Items> co_columns = sco_Columns(co_Items, -sd_Overlap);
    std::vector<CT_Items> co_parts = co_bands;
    if (co_columns.size() > 1 &&
        (co_bands.size() == 1 || sd_Widest(co_columns, true) > sd_Widest(co_bands, false))) {
        co_parts = sco_Columns(co_Items, sd_Widest(co_columns, true) - sd_Overlap / 2);
    } else if (co_bands.size() > 1) {
        co_parts = sco_Bands(co_Items, sd_Widest(co_bands, false) - sd_Overlap / 2);
    }
    if (co_parts.size() == 1) {
        co_parts = co_columns;
    } else if (co_columns.size() > 1) {
        const double d_down = sd_Widest(co_parts, false);
        const double d_across = sd_Widest(co_columns, true);
        if (d_across > d_down) {
            co_parts = sco_Columns(co_Items, d_down);
        } else if (d_down > d_across) {
            co_parts = sco_Bands(co_Items, d_across);
        }
    }
    if (co_parts.size() == 1) {
        for (CT_Items& co_row : sco_Rows(std::move(co_Items))) {
            for (const CT_Item* pco_item : co_row) {
                sv_ReadOne(*pco_item, co_Out, n_Depth + 1);
            }
        }
        return;
    }
    for (CT_Items& co_part : co_parts) {
        sv_Read(std::move(co_part), co_Out, n_Depth + 1);
    }
}

void CT_ReadingOrder::sv_ReadOne(const CT_Item& co_Item, std::vector<std::string>& co_Out,
                                 unsigned n_Depth) {
    if (co_Item.b_IsGroup()) {
        CT_Items co_members;
        for (const CT_Item& co_member : co_Item.co_Members) {
            co_members.push_back(&co_member);
        }
        sv_Read(std::move(co_members), co_Out, n_Depth);
    } else if (co_Item.b_ThreadStart) {
        co_Out.push_back(co_Item.s_Key);
    }
}

std::vector<CT_ReadingOrder::CT_Items> CT_ReadingOrder::sco_Bands(CT_Items co_Items,
                                                                  double d_Wider) {
    std::stable_sort(co_Items.begin(), co_Items.end(), sb_Above);
    std::vector<CT_Items> co_bands(1);
    double d_bottom = co_Items.front()->co_Bounds.bottom;
    for (const CT_Item* pco_item : co_Items) {
        CT_Items& co_band = co_bands.back();
        const bool b_apart =
            !co_band.empty() &&
            pco_item->co_Bounds.top - d_bottom >= std::max(-sd_Overlap, d_Wider) &&
            std::none_of(co_band.begin(), co_band.end(), [pco_item](const CT_Item* pco_other) {
                return sb_SameRow(*pco_other, *pco_item);
            });
        if (b_apart) {
            co_bands.emplace_back();
        }
        co_bands.back().push_back(pco_item);
        d_bottom =
            b_apart ? pco_item->co_Bounds.bottom : std::max(d_bottom, pco_item->co_Bounds.bottom);
    }
    return co_bands;
}

std::vector<CT_ReadingOrder::CT_Items> CT_ReadingOrder::sco_Columns(CT_Items co_Items,
                                                                    double d_Wider) {
    std::stable_sort(co_Items.begin(), co_Items.end(), sb_LeftOf);
    std::vector<CT_Items> co_columns(1);
    double d_right = co_Items.front()->co_Bounds.right;
    for (const CT_Item* pco_item : co_Items) {
        const bool b_apart = !co_columns.back().empty() &&
                             pco_item->co_Bounds.left - d_right >= std::max(-sd_Overlap, d_Wider);
        if (b_apart) {
            co_columns.emplace_back();
        }
        co_columns.back().push_back(pco_item);
        d_right =
            b_apart ? pco_item->co_Bounds.right : std::max(d_right, pco_item->co_Bounds.right);
    }
    // A narrow column beside a wide one is a label running down its side, or a line of
    // vertical text: read with its neighbour by rows, not as a column of its own.
    for (std::size_t n = 0; co_columns.size() > 1 && n < co_columns.size();) {
        const std::size_t n_beside = n + 1 < co_columns.size() ? n + 1 : n - 1;
        if (d_Width(co_columns[n]) >= sd_NarrowShare * d_Width(co_columns[n_beside])) {
            ++n;
            continue;
        }
        CT_Items& co_into = co_columns[n_beside];
        co_into.insert(n_beside > n ? co_into.begin() : co_into.end(), co_columns[n].begin(),
                       co_columns[n].end());
        co_columns.erase(co_columns.begin() + static_cast<std::ptrdiff_t>(n));
        n = 0;
    }
    return co_columns;
}

// Overlapping frames: top to bottom by rows, a row being the frames whose tops lie close to
// the top of one already in it, and each row left to right.
std::vector<CT_ReadingOrder::CT_Items> CT_ReadingOrder::sco_Rows(CT_Items co_Items) {
    std::stable_sort(co_Items.begin(), co_Items.end(), sb_Above);
    std::vector<CT_Items> co_rows;
    for (const CT_Item* pco_item : co_Items) {
        const bool b_join =
            !co_rows.empty() && std::any_of(co_rows.back().begin(), co_rows.back().end(),
                                            [pco_item](const CT_Item* pco_other) {
                                                return sb_SameRow(*pco_other, *pco_item);
                                            });
        if (!b_join) {
            co_rows.emplace_back();
        }
        co_rows.back().push_back(pco_item);
    }
    for (CT_Items& co_row : co_rows) {
        std::stable_sort(co_row.begin(), co_row.end(), sb_LeftOf);
    }
    return co_rows;
}

double CT_ReadingOrder::sd_Widest(const std::vector<CT_Items>& co_Parts, bool b_Across) {
    double d_widest = 0;
    for (std::size_t n = 1; n < co_Parts.size(); ++n) {
        double d_end = b_Across ? co_Parts[n - 1].front()->co_Bounds.right
                                : co_Parts[n - 1].front()->co_Bounds.bottom;
        for (const CT_Item* pco_item : co_Parts[n - 1]) {
            d_end =
                std::max(d_end, b_Across ? pco_item->co_Bounds.right : pco_item->co_Bounds.bottom);
        }
        double d_start =
            b_Across ? co_Parts[n].front()->co_Bounds.left : co_Parts[n].front()->co_Bounds.top;
        for (const CT_Item* pco_item : co_Parts[n]) {
            d_start =
                std::min(d_start, b_Across ? pco_item->co_Bounds.left : pco_item->co_Bounds.top);
        }
        d_widest = std::max(d_widest, d_start - d_end);
    }
    return d_widest;
}

// Equal edges put text on a frame's path first: it runs round the frame's outline, outside
// the text inside.
bool CT_ReadingOrder::sb_Above(const CT_Item* pco_A, const CT_Item* pco_B) {
    const double d_a = pco_A->co_Bounds.top, d_b = pco_B->co_Bounds.top;
    return d_a < d_b || (d_a == d_b && pco_A->b_OnPath && !pco_B->b_OnPath);
}

bool CT_ReadingOrder::sb_LeftOf(const CT_Item* pco_A, const CT_Item* pco_B) {
    const double d_a = pco_A->co_Bounds.left, d_b = pco_B->co_Bounds.left;
    return d_a < d_b || (d_a == d_b && pco_A->b_OnPath && !pco_B->b_OnPath);
}

bool CT_ReadingOrder::sb_SameRow(const CT_Item& co_A, const CT_Item& co_B) {
    const double d_tolerance = std::max(
        sd_RowPoints, sd_RowShare * std::min(d_Height(co_A.co_Bounds), d_Height(co_B.co_Bounds)));
    const double d_apart = co_A.co_Bounds.top - co_B.co_Bounds.top;
    return d_apart <= d_tolerance && -d_apart <= d_tolerance;
}
