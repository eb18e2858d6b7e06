#include "platform/host/idml/ct_idml_geometry.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

// Reads up to n_Count numbers separated by blanks; returns how many were read.
int i_ParseNumbers(const char* pc_Text, double* pd_Values, int n_Count) {
    const char* pc_End = pc_Text + std::strlen(pc_Text);
    int i_Read = 0;
    while (i_Read < n_Count) {
        while (pc_Text < pc_End && (*pc_Text == ' ' || *pc_Text == '\t')) {
            ++pc_Text;
        }
        if (pc_Text == pc_End) {
            break;
        }
        auto co_Result = std::from_chars(pc_Text, pc_End, pd_Values[i_Read]);
        if (co_Result.ec != std::errc() || !std::isfinite(pd_Values[i_Read])) {
            break;
        }
        pc_Text = co_Result.ptr;
        ++i_Read;
    }
    return i_Read;
}

void v_Apply(const CT_IdmlTransform& m, double x, double y, double& d_X, double& d_Y) {
    d_X = m.a * x + m.c * y + m.tx;
    d_Y = m.b * x + m.d * y + m.ty;
}

void v_Include(CT_IdmlRect& co_Rect, bool& b_First, double x, double y) {
    if (b_First) {
        co_Rect = {x, y, x, y};
        b_First = false;
        return;
    }
    co_Rect.left = std::min(co_Rect.left, x);
    co_Rect.top = std::min(co_Rect.top, y);
    co_Rect.right = std::max(co_Rect.right, x);
    co_Rect.bottom = std::max(co_Rect.bottom, y);
}

CT_IdmlRect co_MapRect(const CT_IdmlRect& co_Rect, const CT_IdmlTransform& m) {
    CT_IdmlRect co_Out;
    bool b_First = true;
    const double ad_X[2] = {co_Rect.left, co_Rect.right};
    const double ad_Y[2] = {co_Rect.top, co_Rect.bottom};
    for (double x : ad_X) {
        for (double y : ad_Y) {
            double d_X = 0, d_Y = 0;
            v_Apply(m, x, y, d_X, d_Y);
            v_Include(co_Out, b_First, d_X, d_Y);
        }
    }
    return co_Out;
}

// Lines and text on a straight path have no height; give them one point so that they still
// overlap the page they are drawn on.
CT_IdmlRect co_Thicken(CT_IdmlRect co_Rect) {
    if (co_Rect.bottom - co_Rect.top < 1) {
        double d_Middle = (co_Rect.top + co_Rect.bottom) / 2;
        co_Rect.top = d_Middle - 0.5;
        co_Rect.bottom = d_Middle + 0.5;
    }
    if (co_Rect.right - co_Rect.left < 1) {
        double d_Middle = (co_Rect.left + co_Rect.right) / 2;
        co_Rect.left = d_Middle - 0.5;
        co_Rect.right = d_Middle + 0.5;
    }
    return co_Rect;
}

double d_Overlap(const CT_IdmlRect& co_A, const CT_IdmlRect& co_B) {
    double d_Width = std::min(co_A.right, co_B.right) - std::max(co_A.left, co_B.left);
    double d_Height = std::min(co_A.bottom, co_B.bottom) - std::max(co_A.top, co_B.top);
    if (d_Width <= 0 || d_Height <= 0) {
        return 0;
    }
    return d_Width * d_Height;
}

double d_Attribute(const pugi::xml_node& co_Node, const char* pc_Name) {
    return co_Node.attribute(pc_Name).as_double(0);
}

}  // namespace

CT_IdmlTransform CT_IdmlGeometry::so_ParseTransform(const char* pc_Text) {
    double ad_Values[6];
    if (pc_Text == nullptr || i_ParseNumbers(pc_Text, ad_Values, 6) != 6) {
        return {};
    }
    return {ad_Values[0], ad_Values[1], ad_Values[2], ad_Values[3], ad_Values[4], ad_Values[5]};
}

CT_IdmlTransform CT_IdmlGeometry::so_Then(const CT_IdmlTransform& i, const CT_IdmlTransform& o) {
    return {i.a * o.a + i.b * o.c, i.a * o.b + i.b * o.d,          i.c * o.a + i.d * o.c,
            i.c * o.b + i.d * o.d, i.tx * o.a + i.ty * o.c + o.tx, i.tx * o.b + i.ty * o.d + o.ty};
}

CT_IdmlTransform CT_IdmlGeometry::so_Inside(const pugi::xml_node& co_Item,
                                            const CT_IdmlTransform& co_Map) {
    const pugi::xml_attribute co_transform = co_Item.attribute("ItemTransform");
    return co_transform ? so_Then(so_ParseTransform(co_transform.value()), co_Map) : co_Map;
}

CT_IdmlRect CT_IdmlGeometry::so_Outline(const pugi::xml_node& co_Item,
                                        const CT_IdmlTransform& co_Map) {
    CT_IdmlRect co_Rect;
    bool b_First = true;
    pugi::xml_node co_Geometry = co_Item.child("Properties").child("PathGeometry");
    for (pugi::xml_node co_Path : co_Geometry.children("GeometryPathType")) {
        for (pugi::xml_node co_Point : co_Path.child("PathPointArray").children("PathPointType")) {
            double ad_Anchor[2];
            if (i_ParseNumbers(co_Point.attribute("Anchor").value(), ad_Anchor, 2) != 2) {
                continue;
            }
            double d_X = 0, d_Y = 0;
            v_Apply(co_Map, ad_Anchor[0], ad_Anchor[1], d_X, d_Y);
            v_Include(co_Rect, b_First, d_X, d_Y);
        }
    }
    if (b_First) {
        v_Include(co_Rect, b_First, co_Map.tx, co_Map.ty);
    }
    return co_Rect;
}

std::vector<CT_IdmlRect> CT_IdmlGeometry::sco_PageRects(const pugi::xml_node& co_Spread,
                                                        bool b_Master,
                                                        const CT_IdmlPageSize& co_Size) {
    std::vector<pugi::xml_node> co_PageNodes;
    for (pugi::xml_node co_Page : co_Spread.children("Page")) {
        co_PageNodes.push_back(co_Page);
    }
    const double d_Count = static_cast<double>(co_PageNodes.size());
    const double d_Binding = d_Attribute(co_Spread, "BindingLocation");
    const double d_Width = co_Size.d_Width;
    std::vector<CT_IdmlRect> co_Rects;
    for (std::size_t n = 0; n < co_PageNodes.size(); ++n) {
        double ad_Bounds[4];  // top left bottom right, in page coordinates
        const char* pc_Bounds = co_PageNodes[n].attribute("GeometricBounds").value();
        if (i_ParseNumbers(pc_Bounds, ad_Bounds, 4) == 4) {
            CT_IdmlRect co_Page{ad_Bounds[1], ad_Bounds[0], ad_Bounds[3], ad_Bounds[2]};
            const char* pc_Transform = co_PageNodes[n].attribute("ItemTransform").value();
            co_Rects.push_back(co_MapRect(co_Page, so_ParseTransform(pc_Transform)));
            continue;
        }
        // Older packages: facing spreads put the binding at x = 0, everything else is centred
        // on the spread's origin; pages are centred vertically.
        const double d_Index = static_cast<double>(n);
        double d_Left = (co_Size.b_Facing && !b_Master) ? (d_Index - d_Binding) * d_Width
                                                        : (d_Index - d_Count / 2) * d_Width;
        co_Rects.push_back({d_Left, -co_Size.d_Height / 2, d_Left + d_Width, co_Size.d_Height / 2});
    }
    return co_Rects;
}

int CT_IdmlGeometry::si_PageOf(const CT_IdmlRect& co_Item,
                               const std::vector<CT_IdmlRect>& co_Pages) {
    // Overlaps within a thousandth of each other are a tie, and ties go to the earlier page: a
    // frame centred on the spine by eye differs by hundredths of a point after the transforms.
    const double d_Tie = 1e-3;
    const CT_IdmlRect co_Thick = co_Thicken(co_Item);
    int i_Best = -1;
    double d_Best = 0;
    for (std::size_t n = 0; n < co_Pages.size(); ++n) {
        double d_Area = d_Overlap(co_Thick, co_Pages[n]);
        if (d_Area > 0 && d_Area > d_Best * (1 + d_Tie)) {
            d_Best = d_Area;
            i_Best = static_cast<int>(n);
        }
    }
    return i_Best;
}

std::int32_t CT_IdmlGeometry::si_WholePoints(double d_Value) {
    const double d_Rounded = std::floor(d_Value + 0.5);
    if (!(d_Rounded > std::numeric_limits<std::int32_t>::min())) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (d_Rounded >= std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(d_Rounded);
}
