#include "tests/tools/ct_png_pixels.h"

#include <zlib.h>

#include <cstdlib>

namespace {
std::uint32_t n_Big(const std::string& s_Bytes, std::size_t n_At) {
    std::uint32_t n_value = 0;
    for (std::size_t n = 0; n < 4; ++n) {
        n_value = (n_value << 8) | static_cast<unsigned char>(s_Bytes[n_At + n]);
    }
    return n_value;
}

int i_Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : (pb <= pc ? b : c);
}

// Undoes the per-row filters in place; false on an unknown filter.
bool b_Unfilter(std::vector<unsigned char>& co_Data, unsigned n_Height, std::size_t n_Row,
                std::size_t n_Pixel) {
    std::vector<unsigned char> co_prior(n_Row, 0);
    for (unsigned n_y = 0; n_y < n_Height; ++n_y) {
        unsigned char* pc_line = &co_Data[n_y * (n_Row + 1)];
        const unsigned char c_filter = pc_line[0];
        unsigned char* pc_x = pc_line + 1;
        for (std::size_t n = 0; n < n_Row; ++n) {
            const int a = n >= n_Pixel ? pc_x[n - n_Pixel] : 0;
            const int b = co_prior[n];
            const int c = n >= n_Pixel ? co_prior[n - n_Pixel] : 0;
            int i_add = 0;
            switch (c_filter) {
                case 0:
                    break;
                case 1:
                    i_add = a;
                    break;
                case 2:
                    i_add = b;
                    break;
                case 3:
                    i_add = (a + b) / 2;
                    break;
                case 4:
                    i_add = i_Paeth(a, b, c);
                    break;
                default:
                    return false;
            }
            pc_x[n] = static_cast<unsigned char>(pc_x[n] + i_add);
        }
        co_prior.assign(pc_x, pc_x + n_Row);
    }
    return true;
}
}  // namespace

CT_PngPixels CT_PngPixels::sco_Read(const std::string& s_Bytes) {
    CT_PngPixels co_image;
    if (s_Bytes.size() < 33 || s_Bytes.compare(0, 8, "\x89PNG\r\n\x1A\n") != 0) {
        return co_image;
    }
    const unsigned n_width = n_Big(s_Bytes, 16), n_height = n_Big(s_Bytes, 20);
    const unsigned char c_depth = static_cast<unsigned char>(s_Bytes[24]);
    const unsigned char c_colour = static_cast<unsigned char>(s_Bytes[25]);
    const unsigned char c_interlace = static_cast<unsigned char>(s_Bytes[28]);
    if (c_depth != 8 || (c_colour != 2 && c_colour != 6) || c_interlace != 0) {
        return co_image;
    }
    std::string s_packed;
    for (std::size_t n_at = 8; n_at + 12 <= s_Bytes.size();) {
        const std::uint32_t n_length = n_Big(s_Bytes, n_at);
        if (s_Bytes.compare(n_at + 4, 4, "IDAT") == 0) {
            s_packed.append(s_Bytes, n_at + 8, n_length);
        }
        n_at += 12 + n_length;
    }
    const std::size_t n_pixel = c_colour == 6 ? 4 : 3;
    const std::size_t n_row = n_width * n_pixel;
    std::vector<unsigned char> co_data((n_row + 1) * n_height);
    uLongf n_size = static_cast<uLongf>(co_data.size());
    if (uncompress(co_data.data(), &n_size, reinterpret_cast<const Bytef*>(s_packed.data()),
                   static_cast<uLong>(s_packed.size())) != Z_OK ||
        n_size != co_data.size() || !b_Unfilter(co_data, n_height, n_row, n_pixel)) {
        return co_image;
    }
    co_image.n_Width = n_width;
    co_image.n_Height = n_height;
    for (unsigned n_y = 0; n_y < n_height; ++n_y) {
        const unsigned char* pc_x = &co_data[n_y * (n_row + 1) + 1];
        for (unsigned n_x = 0; n_x < n_width; ++n_x, pc_x += n_pixel) {
            const std::uint32_t n_alpha = n_pixel == 4 ? pc_x[3] : 0xFF;
            co_image.co_Rgba.push_back((std::uint32_t{pc_x[0]} << 24) | (pc_x[1] << 16) |
                                       (pc_x[2] << 8) | n_alpha);
        }
    }
    return co_image;
}
