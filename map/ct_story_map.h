// The picture of a document's story order, before it is drawn: the spreads as rows one under
// another (master spreads first, as the story list puts master pages first), each page with the
// name printed on it, every text frame with its story's number in the story order and where a
// user finds it on its page, the threads, and the reading path from story to story. Built from the
// IDML host's layout and the kernel's story order; plain values, owning nothing of either.
// Coordinates are points, y downwards; a row's frames are in its spread's coordinates and d_X, d_Y
// carry them onto the picture.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "map/ct_order_walk.h"
#include "platform/host/idml/ct_idml_geometry.h"

class CT_IdmlLayout;

// A story of the order as the map labels it, as the story list does.
// Its group names a document page as printed ("Page A22").
struct CT_MapStory : CT_OrderEntry {
    int i_Page = 0;       // the story list's page: N from 1, 0 the pasteboard, below 0 masters
    std::string s_Place;  // its first frame's place, as CT_MapFrame's; empty when it has none
};

struct CT_MapFrame {
    std::string s_Key;
    unsigned n_Number = 0;    // the story's number; 0 when the story is left out of the order
    unsigned n_InThread = 1;  // place in the story's thread, from 1
    CT_IdmlRect co_Rect;      // in the row's spread coordinates
    bool b_OnPasteBoard = false;
    bool b_Anchored = false;  // the mark of an anchored story; co_Rect is the frame holding it
    std::string s_LeftOut;    // why the story is not in the order; empty when it is
    // Its top left from its page's, in points, as a ruler at the page's corner measures it:
    // "x 36 pt, y 72 pt on page A22"; from the nearest page when on the pasteboard.
    std::string s_Place;
};

struct CT_MapPage {
    CT_IdmlRect co_Rect;
    std::string s_Label;  // "Page A22", by its printed name; empty on master spreads
};

struct CT_MapRow {
    std::string s_Heading;  // a group heading drawn above the row, or empty
    std::string s_Caption;  // the master spread's name, or empty
    std::vector<CT_MapPage> co_Pages;
    std::vector<CT_MapFrame> co_Frames;
    CT_IdmlRect co_Extent;  // pages and frames, in spread coordinates
    double d_X = 0, d_Y = 0;
};

struct CT_MapPoint {
    double d_X = 0, d_Y = 0;
};

class CT_StoryMap {
  public:
    // The order is walked (its cursor moves); b_IgnorePasteBoard tells why pasteboard stories
    // are missing from it, co_Reasons (story key to reason) why others are: the reasons the
    // host gives for the frames that its layer choice leaves out.
    CT_StoryMap(const CT_IdmlLayout& co_Layout, CT_StoryOrder& co_Order, bool b_IgnorePasteBoard,
                std::map<std::string, std::string> co_Reasons = {});

    const std::vector<CT_MapStory>& co_GetStories() const { return co_Stories; }
    // Stories that have frames but are not in the order, each with the reason, in layout order.
    const std::vector<std::pair<std::string, std::string>>& co_GetLeftOut() const {
        return co_LeftOut;
    }
    const std::vector<CT_MapRow>& co_GetRows() const { return co_Rows; }
    // Each thread of two or more frames, in thread order, as pairs of points on the picture:
    // where one frame's text leaves (its bottom right), then where the next frame's comes in
    // (its top left).
    const std::vector<std::vector<CT_MapPoint>>& co_GetThreads() const { return co_Threads; }
    // The top left of every story's first frame on the picture, in story order.
    const std::vector<CT_MapPoint>& co_GetReadingPath() const { return co_Path; }
    // The story list's label of the pasteboard group.
    const std::string& s_GetPasteBoardLabel() const { return s_PasteBoard; }
    double d_GetWidth() const { return d_Width; }
    double d_GetHeight() const { return d_Height; }
    // Pixels per point: the picture is drawn at most sd_MaxPixels wide, never enlarged.
    double d_GetScale() const { return d_Scale; }
    // Points that show as this many pixels: text and marks keep their size on screen whatever
    // the document's size.
    double d_Points(double d_Pixels) const { return d_Pixels / d_Scale; }
    static constexpr double sd_MaxPixels = 1000;

  private:
    struct CT_Place {
        std::size_t n_Row;
        std::size_t n_Frame;
    };

    void v_ReadOrder(CT_StoryOrder& co_Order);
    void v_AddRows(const CT_IdmlLayout& co_Layout, bool b_IgnorePasteBoard);
    void v_NamePlaces();
    void v_AddAnchored(const CT_IdmlLayout& co_Layout);
    void v_Scale();
    void v_Stack();
    std::string s_WhyLeftOut(const std::string& s_Key, bool b_IgnorePasteBoard) const;
    CT_MapPoint co_OnPicture(const CT_Place& co_Place, bool b_End) const;

    std::vector<CT_MapStory> co_Stories;
    std::map<std::string, std::size_t> co_StoryIndex;
    std::vector<std::pair<std::string, std::string>> co_LeftOut;
    std::map<std::string, std::string> co_Reasons;
    std::vector<CT_MapRow> co_Rows;
    std::map<std::string, std::vector<CT_Place>> co_FramesOf;  // in thread order
    std::vector<std::vector<CT_MapPoint>> co_Threads;
    std::vector<CT_MapPoint> co_Path;
    std::map<int, std::string> co_PageLabels;  // by the story list's page number
    double d_Width = 0, d_Height = 0;
    double d_Scale = 1;
    std::string s_PasteBoard;
    double d_Left = 0, d_Right = 0;  // of all rows, in spread coordinates
};
