// Where a story map draws the number of each frame and anchored story: a box of fixed screen
// size inside or touching its frame (an anchored story's is the frame holding its anchor),
// clear of every other number, page label, heading and thread arrowhead, so that the writer
// can draw the numbers last, above fills and lines, and none is hidden. Plain values on the
// picture's coordinates, in points; the layout keeps nothing of the map.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/host/idml/ct_idml_geometry.h"

class CT_StoryMap;
struct CT_MapFrame;
struct CT_MapRow;

struct CT_MapLabel {
    std::size_t n_Row = 0;
    std::size_t n_Frame = 0;  // in the row's frames
    std::string s_Text;       // the story's number, or a dash when it is left out
    CT_IdmlRect co_Box;       // on the picture
    double d_FontSize = 0;    // points
    bool b_Clear = true;      // false only when no free place touched the frame
};

class CT_MapLabelLayout {
  public:
    explicit CT_MapLabelLayout(const CT_StoryMap& co_Map);

    // One label per frame of the map's rows, in row and frame order.
    const std::vector<CT_MapLabel>& co_GetLabels() const { return co_Labels; }
    // What the labels keep clear of besides each other: page labels, headings, arrowheads.
    const std::vector<CT_IdmlRect>& co_GetObstacles() const { return co_Obstacles; }
    // The label of a frame; REQUIRES: the row and frame are the map's.
    const CT_MapLabel& co_LabelOf(std::size_t n_Row, std::size_t n_Frame) const;
    std::size_t n_Crowded() const;
    // What the writer draws above a row: its group heading and master spread's name.
    static std::string ss_TitleOf(const CT_MapRow& co_Row);

    // Screen pixels of a number's text: the first frame of a story reads larger.
    static constexpr double sd_FirstPixels = 10;
    static constexpr double sd_OtherPixels = 9;
    // Screen pixels of a page label's and a heading's text, which the writer draws.
    static constexpr double sd_PagePixels = 11;
    static constexpr double sd_HeadingPixels = 14;

  private:
    void v_AddObstacles();
    void v_Place(std::size_t n_Label);
    std::vector<CT_IdmlRect> co_Candidates(const CT_IdmlRect& co_Frame, double d_Width,
                                           double d_Height) const;
    bool b_IsFree(const CT_IdmlRect& co_Box) const;
    CT_IdmlRect co_OnPicture(std::size_t n_Row, const CT_IdmlRect& co_Rect) const;

    const CT_StoryMap& co_Map;
    std::vector<CT_MapLabel> co_Labels;
    std::vector<std::size_t> co_FirstOfRow;  // index of each row's first label
    std::vector<CT_IdmlRect> co_Obstacles;
    std::vector<CT_IdmlRect> co_Placed;
    std::vector<CT_IdmlRect> co_Small;  // frames too small to hold their number
};
