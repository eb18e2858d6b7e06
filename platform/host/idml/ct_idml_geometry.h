// Plane geometry of IDML page items: the affine transforms IDML writes ("a b c d tx ty"),
// axis-aligned rectangles, item outlines and the page an item belongs to. Pure values; nothing
// here owns or keeps XML nodes.
#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <vector>

// x' = a x + c y + tx, y' = b x + d y + ty.
struct CT_IdmlTransform {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
};

// y grows downwards, so top <= bottom.
struct CT_IdmlRect {
    double left = 0, top = 0, right = 0, bottom = 0;
};

// The page geometry that older packages keep in their preferences instead of on each page.
struct CT_IdmlPageSize {
    double d_Width = 0;
    double d_Height = 0;
    bool b_Facing = false;
    bool b_RightToLeft = false;  // bound on the right, as right-to-left scripts are read
};

class CT_IdmlGeometry {
  public:
    // A malformed or missing transform reads as the identity: a damaged layout attribute must
    // not keep the text of a document from being translated.
    static CT_IdmlTransform so_ParseTransform(const char* pc_Text);
    // First co_Inner, then co_Outer: how an item inside a group reaches spread coordinates.
    static CT_IdmlTransform so_Then(const CT_IdmlTransform& co_Inner,
                                    const CT_IdmlTransform& co_Outer);
    // What takes an item's own coordinates to where co_Map takes its parent's: its
    // ItemTransform, then co_Map; co_Map alone for an item without one.
    static CT_IdmlTransform so_Inside(const pugi::xml_node& co_Item,
                                      const CT_IdmlTransform& co_Map);

    // The bounding box of the item's path points after the transform; an item without path
    // points is the point its transform puts the origin at.
    static CT_IdmlRect so_Outline(const pugi::xml_node& co_Item, const CT_IdmlTransform& co_Map);

    // The rectangles of the spread's pages in spread coordinates, in page order. Pages with
    // their own bounds use them; pages without (older packages) are laid out from co_Size.
    static std::vector<CT_IdmlRect> sco_PageRects(const pugi::xml_node& co_Spread, bool b_Master,
                                                  const CT_IdmlPageSize& co_Size);

    // The index of the page the rectangle overlaps most, -1 when it overlaps none.
    static int si_PageOf(const CT_IdmlRect& co_Item, const std::vector<CT_IdmlRect>& co_Pages);

    // A coordinate in whole points, rounded to the nearest (halves upwards) and clamped.
    static std::int32_t si_WholePoints(double d_Value);
};
