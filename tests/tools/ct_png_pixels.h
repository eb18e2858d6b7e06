// Reads the pixels of a PNG image as rsvg-convert writes it (8-bit RGB or RGBA, not
// interlaced), so that a test can tell a drawn picture from an empty one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct CT_PngPixels {
    unsigned n_Width = 0;
    unsigned n_Height = 0;
    std::vector<std::uint32_t> co_Rgba;  // row by row, 0xRRGGBBAA

    // Empty (width 0) when the bytes are not a PNG of that kind.
    static CT_PngPixels sco_Read(const std::string& s_Bytes);
};
