// The order in which a person reads the stories of a document, from its layout: page groups as
// the story order keeps them (master pages, pasteboard, pages), and inside a page columns
// before rows where a gutter runs the page's height, rows with a tolerance, a group as one
// unit, a threaded story where its first frame stands, anchored frames after their anchors.
// The result is a plain sequence of keys, handed to the kernel as a custom arrangement.
#pragma once

#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "reading/ct_reading_layout.h"

class CT_ReadingOrder {
  public:
    using CT_Item = CT_ReadingLayout::CT_Item;
    using CT_Rect = CT_ReadingLayout::CT_Rect;

    // Tops closer than this, or than this share of the smaller frame's height, are one row:
    // frames a reader sees side by side are seldom placed to the point.
    static constexpr double sd_RowPoints = 4;
    static constexpr double sd_RowShare = 0.25;
    // Frames overlapping by less than this are still apart: a gutter between frames whose
    // edges touch, or cross by a rounding, is still a gutter.
    static constexpr double sd_Overlap = 1;
    // Cuts and groups deeper than this are read by rows.
    static constexpr unsigned sn_MaxDepth = 256;
    // A column less wide than this share of the column beside it is not read on its own.
    static constexpr double sd_NarrowShare = 0.25;

    explicit CT_ReadingOrder(const CT_ReadingLayout& co_Layout);

    // Every key shown in the layout once, masters first (spread by spread, the page read first
    // by the spread's binding first), then the pasteboards, then the document pages; each
    // anchored story right after the story holding its anchor.
    const std::vector<std::string>& co_GetKeys() const { return co_Keys; }

    // The keys of the items of one region (a page, a group) in reading order.
    static std::vector<std::string> sco_Read(const std::vector<CT_Item>& co_Items);
    // The keys with each anchored story right after the story holding its anchor, in the
    // order of the anchors, nested ones after their own holder. A story among the keys keeps
    // its place; one anchored twice, or in itself, comes once.
    static std::vector<std::string> sco_WithAnchored(
        const std::vector<std::string>& co_Keys,
        const std::vector<std::pair<std::string, std::string>>& co_Anchored);

  private:
    using CT_Items = std::vector<const CT_Item*>;

    // n_Depth: how many cuts and groups lie above the items.
    static void sv_Read(CT_Items co_Items, std::vector<std::string>& co_Out, unsigned n_Depth);
    static void sv_ReadOne(const CT_Item& co_Item, std::vector<std::string>& co_Out,
                           unsigned n_Depth);
    // The items cut into bands along one axis where nothing crosses the cut and the space is
    // at least d_Wider, in reading order; one band when no cut runs through the region.
    static std::vector<CT_Items> sco_Columns(CT_Items co_Items, double d_Wider);
    static std::vector<CT_Items> sco_Bands(CT_Items co_Items, double d_Wider);
    static std::vector<CT_Items> sco_Rows(CT_Items co_Items);
    // The widest space between consecutive parts, across (between columns) or down.
    static double sd_Widest(const std::vector<CT_Items>& co_Parts, bool b_Across);
    static bool sb_SameRow(const CT_Item& co_A, const CT_Item& co_B);
    static bool sb_Above(const CT_Item* pco_A, const CT_Item* pco_B);
    static bool sb_LeftOf(const CT_Item* pco_A, const CT_Item* pco_B);

    void v_ReadSpreads(const CT_ReadingLayout& co_Layout, bool b_Master);
    void v_Add(const std::string& s_Key);

    std::vector<std::string> co_Keys;
    std::unordered_set<std::string> co_Seen;
};
