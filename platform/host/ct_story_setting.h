// How and where the host sets one story, for whoever estimates the room its text has: the
// frames of its thread with their size, insets and columns and the printed name of their page,
// and the type its text is set in, as runs of one size and leading. Plain values the host fills
// and the caller owns; nothing here refers back to the document.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct CT_FrameSetting {
    std::string s_Id;    // the host's name for the frame
    std::string s_Page;  // the page's printed name ("A22", "iv"), a master spread's name, or
                         // empty on the pasteboard
    bool b_OnMasterPage = false;
    bool b_OnPasteBoard = false;
    // Whether the frame prints: not on the pasteboard, not hidden, neither it nor its layer
    // non-printing. s_NotPrinted says why when it does not.
    bool b_Prints = true;
    std::string s_NotPrinted;
    // Whether the size below is where text is set: false for text on a path, for an anchored
    // frame and for a frame whose outline the host could not read.
    bool b_HasGeometry = false;
    double d_Width = 0;  // outer size in points, before insets
    double d_Height = 0;
    double d_InsetTop = 0, d_InsetLeft = 0, d_InsetBottom = 0, d_InsetRight = 0;
    unsigned n_Columns = 1;
    double d_Gutter = 12;
    bool b_GrowsWithText = false;  // the frame's height follows its text
};

struct CT_TypeRun {
    double d_Size = 12;       // points
    double d_Leading = 14.4;  // baseline to baseline, points
    std::size_t n_Characters = 0;
};

struct CT_StorySetting {
    std::vector<CT_FrameSetting> co_Frames;  // in thread order; empty for a story shown nowhere
    std::vector<CT_TypeRun> co_Type;         // in text order
};
