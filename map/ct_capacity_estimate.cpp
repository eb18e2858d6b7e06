#include "map/ct_capacity_estimate.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "exchange/ct_tagged_token.h"
#include "platform/common/ct_utf8.h"

namespace {

constexpr std::uint64_t skn_HighBits = 0x8080808080808080ull;

// How many of the eight ASCII bytes are tabs: a byte's high bit is set where it was zero after
// the tabs were cleared to zero, without a carry from one byte into the next.
std::size_t n_Tabs(std::uint64_t n_Eight) {
    constexpr std::uint64_t kn_Low = 0x7F7F7F7F7F7F7F7Full;
    const std::uint64_t n_zeroes = n_Eight ^ 0x0909090909090909ull;
    const std::uint64_t n_marks = ~(((n_zeroes & kn_Low) + kn_Low) | n_zeroes | kn_Low);
    return static_cast<std::size_t>(__builtin_popcountll(n_marks));
}

bool b_In(char32_t c_Char, char32_t c_First, char32_t c_Last) {
    return c_Char >= c_First && c_Char <= c_Last;
}

// Lines of one column: the first needs the type size, every further one the leading.
double d_LinesIn(double d_Height, double d_Size, double d_Leading) {
    if (d_Height < d_Size || d_Leading <= 0) {
        return 0;
    }
    return 1 + std::floor((d_Height - d_Size) / d_Leading);
}

}  // namespace

CT_CapacityEstimate::CT_CapacityEstimate(const CT_StorySetting& co_Setting) {
    double d_characters = 0, d_sizes = 0, d_leadings = 0;
    for (const CT_TypeRun& co_run : co_Setting.co_Type) {
        const double d_weight = static_cast<double>(co_run.n_Characters);
        d_characters += d_weight;
        d_sizes += co_run.d_Size * d_weight;
        d_leadings += co_run.d_Leading * d_weight;
    }
    if (d_characters > 0) {
        d_TypeSize = d_sizes / d_characters;
        d_TypeLeading = d_leadings / d_characters;
    }
    b_Geometry = !co_Setting.co_Frames.empty();
    for (const CT_FrameSetting& co_frame : co_Setting.co_Frames) {
        b_Printing = b_Printing || co_frame.b_Prints;
        b_Grows = b_Grows || co_frame.b_GrowsWithText;
        b_Geometry = b_Geometry && co_frame.b_HasGeometry;
        const unsigned n_columns = std::max(co_frame.n_Columns, 1u);
        const double d_width = co_frame.d_Width - co_frame.d_InsetLeft - co_frame.d_InsetRight;
        const double d_column = (d_width - (n_columns - 1) * co_frame.d_Gutter) / n_columns;
        const double d_height = co_frame.d_Height - co_frame.d_InsetTop - co_frame.d_InsetBottom;
        co_FrameLines.emplace_back(0, 0.0);
        if (!co_frame.b_HasGeometry || !(d_column > 0)) {
            continue;
        }
        const double d_lines = d_LinesIn(d_height, d_TypeSize, d_TypeLeading) * n_columns;
        if (d_lines > 0 && d_lines < 1e7) {
            n_LineCount += static_cast<unsigned>(d_lines);
            d_Room += d_lines * d_column;
            co_FrameLines.back() = {static_cast<unsigned>(d_lines), d_column};
        }
    }
    if (!b_Geometry) {
        n_LineCount = 0;
        d_Room = 0;
    }
}

double CT_CapacityEstimate::sd_Ems(char32_t c_Char) {
    if (b_In(c_Char, 0x0300, 0x036F) || b_In(c_Char, 0x200B, 0x200F) || c_Char == 0xFEFF ||
        b_In(c_Char, 0xFE00, 0xFE0F)) {
        return 0;
    }
    if (c_Char < 0x0250 || b_In(c_Char, 0x1E00, 0x1EFF) || b_In(c_Char, 0x2000, 0x206F)) {
        return sd_LatinEms;
    }
    if (b_In(c_Char, 0x1100, 0x115F) || b_In(c_Char, 0x2E80, 0xA4CF) ||
        b_In(c_Char, 0xAC00, 0xD7A3) || b_In(c_Char, 0xF900, 0xFAFF) ||
        b_In(c_Char, 0xFE30, 0xFE4F) || b_In(c_Char, 0xFF00, 0xFF60) ||
        b_In(c_Char, 0xFFE0, 0xFFE6) || b_In(c_Char, 0x20000, 0x3FFFD)) {
        return sd_WideEms;
    }
    return sd_OtherEms;
}

CT_CapacityEstimate::CT_Measure CT_CapacityEstimate::sco_Measure(std::string_view co_Tagged) {
    CT_Measure co_measure;
    std::vector<double>& co_paragraphs = co_measure.co_Paragraphs;
    std::size_t& n_characters = co_measure.n_Characters;
    auto v_Text = [&](std::string_view co_Text) {
        double& d_ems = co_paragraphs.back();
        // ASCII is half an em, a tab (on to the next stop) about one: counted in halves, which
        // a double holds exactly, and eight bytes at a time where all eight are ASCII. What
        // else there is is decoded and added character by character.
        std::size_t n_halves = 0;
        for (std::size_t n_at = 0; n_at < co_Text.size();) {
            std::uint64_t n_eight = 0;
            if (n_at + sizeof n_eight <= co_Text.size()) {
                std::memcpy(&n_eight, co_Text.data() + n_at, sizeof n_eight);
                if ((n_eight & skn_HighBits) == 0) {
                    n_halves += sizeof n_eight + n_Tabs(n_eight);
                    n_characters += sizeof n_eight;
                    n_at += sizeof n_eight;
                    continue;
                }
            }
            if (static_cast<unsigned char>(co_Text[n_at]) < 0x80) {
                n_halves += co_Text[n_at] == '\t' ? 2 : 1;
                ++n_at;
            } else {
                d_ems += sd_Ems(CT_Utf8::sc_Next(co_Text, n_at));
            }
            ++n_characters;
        }
        d_ems += static_cast<double>(n_halves) * sd_LatinEms;
    };
    co_paragraphs.assign(1, 0.0);
    n_characters = 0;
    try {
        CT_TaggedToken::sv_Scan(co_Tagged, v_Text, [&](const CT_TaggedToken& co_Token) {
            if (co_Token.eo_Kind == CT_TaggedToken::et_Kind::e_LineEnd) {
                co_paragraphs.push_back(0.0);
            }
        });
    } catch (const std::invalid_argument&) {
        co_paragraphs.assign(1, 0.0);
        n_characters = 0;
        v_Text(co_Tagged);
    }
    // A break that ends the story opens no line of its own.
    while (co_paragraphs.size() > 1 && co_paragraphs.back() == 0.0) {
        co_paragraphs.pop_back();
    }
    return co_measure;
}

std::size_t CT_CapacityEstimate::n_Capacity(std::string_view co_Sample) const {
    return n_Capacity(sco_Measure(co_Sample));
}

std::size_t CT_CapacityEstimate::n_Capacity(const CT_Measure& co_Sample) const {
    double d_ems = 0;
    for (const double d_paragraph : co_Sample.co_Paragraphs) {
        d_ems += d_paragraph;
    }
    const std::size_t n_characters = co_Sample.n_Characters;
    const double d_mean = n_characters > 0 && d_ems > 0 ? d_ems / n_characters : sd_LatinEms;
    return static_cast<std::size_t>(std::floor(d_Room / (d_mean * d_TypeSize)));
}

double CT_CapacityEstimate::d_Fill(std::string_view co_Tagged) const {
    return b_Geometry ? d_Fill(sco_Measure(co_Tagged)) : 0;
}

double CT_CapacityEstimate::d_Fill(const CT_Measure& co_Tagged) const {
    if (!b_Geometry) {
        return 0;
    }
    const std::vector<double>& co_paragraphs = co_Tagged.co_Paragraphs;
    if (co_Tagged.n_Characters == 0) {
        return 0;
    }
    if (d_Room <= 0) {
        return std::numeric_limits<double>::infinity();
    }
    const double d_line = d_LineWidth();
    double d_need = 0;
    for (std::size_t n = 0; n < co_paragraphs.size(); ++n) {
        const double d_width = co_paragraphs[n] * d_TypeSize;
        const bool b_last = n + 1 == co_paragraphs.size();
        d_need += b_last ? d_width : std::max(1.0, std::ceil(d_width / d_line - 1e-9)) * d_line;
    }
    return d_need / d_Room;
}

std::vector<std::size_t> CT_CapacityEstimate::co_FrameOfLines(std::string_view co_Tagged) const {
    std::vector<std::size_t> co_frames;
    if (!b_Geometry || co_FrameLines.empty()) {
        return co_frames;
    }
    const std::vector<double> co_paragraphs = sco_Measure(co_Tagged).co_Paragraphs;
    std::size_t n_frame = 0;
    double d_left = co_FrameLines[0].first;  // lines still free in the frame
    const std::size_t n_last = co_FrameLines.size() - 1;
    for (const double d_paragraph : co_paragraphs) {
        while (d_left <= 0 && n_frame < n_last) {
            d_left = co_FrameLines[++n_frame].first;
        }
        co_frames.push_back(n_frame);
        // What does not fit flows on into the next frame, in that frame's line width.
        double d_width = d_paragraph * d_TypeSize;
        for (;;) {
            const double d_line = co_FrameLines[n_frame].second;
            const double d_lines = d_line > 0 ? std::max(1.0, std::ceil(d_width / d_line - 1e-9))
                                              : std::numeric_limits<double>::infinity();
            if (d_lines <= d_left || n_frame == n_last) {
                d_left -= d_lines;
                break;
            }
            d_width -= d_left * d_line;
            d_left = co_FrameLines[++n_frame].first;
        }
    }
    return co_frames;
}
