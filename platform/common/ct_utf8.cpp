#include "platform/common/ct_utf8.h"

#include <cstdint>
#include <cstring>

#include "platform/common/ct_eight_bytes.h"

namespace {

unsigned n_Byte(std::string_view co_Text, std::size_t n_At) {
    return n_At < co_Text.size() ? static_cast<unsigned char>(co_Text[n_At]) : 0u;
}

bool b_IsContinuation(unsigned n_Byte) {
    return (n_Byte & 0xC0u) == 0x80u;
}

}  // namespace

std::size_t CT_Utf8::sn_LongerLength(std::string_view co_Text, std::size_t n_At) {
    if (n_At >= co_Text.size()) {
        return 0;
    }
    const unsigned n_Lead = n_Byte(co_Text, n_At);
    const std::size_t n_Length = n_Lead >= 0xF5   ? 0
                                 : n_Lead >= 0xF0 ? 4
                                 : n_Lead >= 0xE0 ? 3
                                 : n_Lead >= 0xC2 ? 2
                                                  : 0;
    if (n_Length == 0 || n_At + n_Length > co_Text.size()) {
        return 0;
    }
    for (std::size_t n = 1; n < n_Length; ++n) {
        if (!b_IsContinuation(n_Byte(co_Text, n_At + n))) {
            return 0;
        }
    }
    // The second byte's range rules out overlong forms, surrogates and values past U+10FFFF.
    const unsigned n_Second = n_Byte(co_Text, n_At + 1);
    const bool b_Overlong =
        (n_Lead == 0xE0 && n_Second < 0xA0) || (n_Lead == 0xF0 && n_Second < 0x90);
    const bool b_Surrogate = n_Lead == 0xED && n_Second >= 0xA0;
    const bool b_Beyond = n_Lead == 0xF4 && n_Second >= 0x90;
    return b_Overlong || b_Surrogate || b_Beyond ? 0 : n_Length;
}

char32_t CT_Utf8::sc_NextLonger(std::string_view co_Text, std::size_t& n_At) {
    // The common sequences first, as sn_FirstInvalid takes them: two bytes, and three bytes
    // whose lead leaves every continuation open.
    const unsigned n_Lead = n_Byte(co_Text, n_At);
    if (n_Lead >= 0xC2 && n_Lead < 0xE0 && b_IsContinuation(n_Byte(co_Text, n_At + 1))) {
        const char32_t c_Point = ((n_Lead & 0x1Fu) << 6) | (n_Byte(co_Text, n_At + 1) & 0x3Fu);
        n_At += 2;
        return c_Point;
    }
    if (n_Lead > 0xE0 && n_Lead < 0xF0 && n_Lead != 0xED &&
        b_IsContinuation(n_Byte(co_Text, n_At + 1)) &&
        b_IsContinuation(n_Byte(co_Text, n_At + 2))) {
        const char32_t c_Point = ((n_Lead & 0x0Fu) << 12) |
                                 ((n_Byte(co_Text, n_At + 1) & 0x3Fu) << 6) |
                                 (n_Byte(co_Text, n_At + 2) & 0x3Fu);
        n_At += 3;
        return c_Point;
    }
    const std::size_t n_Length = sn_SequenceLength(co_Text, n_At);
    if (n_Length == 0) {
        ++n_At;
        return sc_Replacement;
    }
    static const unsigned char sac_LeadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t c_Point = n_Byte(co_Text, n_At) & sac_LeadMask[n_Length];
    for (std::size_t n = 1; n < n_Length; ++n) {
        c_Point = (c_Point << 6) | (n_Byte(co_Text, n_At + n) & 0x3Fu);
    }
    n_At += n_Length;
    return c_Point;
}

std::size_t CT_Utf8::sn_FirstInvalid(std::string_view co_Text) {
    const unsigned char* pc_Bytes = reinterpret_cast<const unsigned char*>(co_Text.data());
    const std::size_t n_Size = co_Text.size();
    for (std::size_t n_At = 0; n_At < n_Size;) {
        // Most text is ASCII: eight bytes without a high bit are passed at once, and those
        // before the first high bit of eight.
        if (n_At + 8 <= n_Size) {
            const std::size_t n_Ascii = CT_EightBytes::sn_BeforeFirst(
                CT_EightBytes::sn_Load(co_Text.data() + n_At) & CT_EightBytes::kn_Highs);
            n_At += n_Ascii;
            if (n_Ascii == 8) {
                continue;
            }
        }
        // Then the common sequences without a call: ASCII, two bytes, and three bytes whose
        // lead leaves every continuation open (not E0 or ED, which narrow the second byte).
        const unsigned n_Lead = pc_Bytes[n_At];
        if (n_Lead < 0x80) {
            ++n_At;
            continue;
        }
        if (n_Lead >= 0xC2 && n_Lead < 0xE0 && n_At + 1 < n_Size &&
            b_IsContinuation(pc_Bytes[n_At + 1])) {
            n_At += 2;
            continue;
        }
        if (n_Lead > 0xE0 && n_Lead < 0xF0 && n_Lead != 0xED && n_At + 2 < n_Size &&
            b_IsContinuation(pc_Bytes[n_At + 1]) && b_IsContinuation(pc_Bytes[n_At + 2])) {
            n_At += 3;
            continue;
        }
        const std::size_t n_Length = sn_SequenceLength(co_Text, n_At);
        if (n_Length == 0) {
            return n_At;
        }
        n_At += n_Length;
    }
    return std::string_view::npos;
}

void CT_Utf8::sv_Append(std::string& co_Text, char32_t c_Point) {
    if ((c_Point >= 0xD800 && c_Point <= 0xDFFF) || c_Point > 0x10FFFF) {
        c_Point = sc_Replacement;
    }
    if (c_Point < 0x80) {
        co_Text.push_back(static_cast<char>(c_Point));
        return;
    }
    const int i_More = c_Point < 0x800 ? 1 : c_Point < 0x10000 ? 2 : 3;
    static const unsigned char sac_Lead[] = {0, 0xC0, 0xE0, 0xF0};
    co_Text.push_back(static_cast<char>(sac_Lead[i_More] | (c_Point >> (6 * i_More))));
    for (int i = i_More - 1; i >= 0; --i) {
        co_Text.push_back(static_cast<char>(0x80 | ((c_Point >> (6 * i)) & 0x3F)));
    }
}

std::size_t CT_Utf8::sn_ToUtf16(std::string_view co_Text, char16_t* puz_Out, std::size_t n_Capacity,
                                bool& b_Cut) {
    std::size_t n_Out = 0;
    b_Cut = false;
    for (std::size_t n_At = 0; n_At < co_Text.size();) {
        const char32_t c_Point = sc_Next(co_Text, n_At);
        const std::size_t n_Units = c_Point > 0xFFFF ? 2 : 1;
        if (n_Out + n_Units > n_Capacity) {
            b_Cut = true;
            break;
        }
        if (n_Units == 2) {
            puz_Out[n_Out++] = static_cast<char16_t>(0xD800 + ((c_Point - 0x10000) >> 10));
            puz_Out[n_Out++] = static_cast<char16_t>(0xDC00 + ((c_Point - 0x10000) & 0x3FF));
        } else {
            puz_Out[n_Out++] = static_cast<char16_t>(c_Point);
        }
    }
    return n_Out;
}

std::size_t CT_Utf8::sn_Columns(std::string_view co_Text) {
    std::size_t n_Columns = 0;
    for (std::size_t n_At = 0; n_At < co_Text.size(); ++n_Columns) {
        sc_Next(co_Text, n_At);
    }
    return n_Columns;
}

std::size_t CT_Utf8::sn_CodePoints(std::string_view co_Text) {
    std::size_t n_continuations = 0;
    std::size_t n_At = 0;
    // Eight bytes at a time: a byte's bit 6 moved up into its bit 7 leaves bit 7 set where bit
    // 7 is and bit 6 is not.
    for (std::uint64_t n_Eight = 0; n_At + sizeof n_Eight <= co_Text.size();
         n_At += sizeof n_Eight) {
        std::memcpy(&n_Eight, co_Text.data() + n_At, sizeof n_Eight);
        n_continuations += static_cast<std::size_t>(
            __builtin_popcountll(n_Eight & ~(n_Eight << 1) & 0x8080808080808080ull));
    }
    for (; n_At < co_Text.size(); ++n_At) {
        n_continuations += b_IsContinuation(n_Byte(co_Text, n_At)) ? 1 : 0;
    }
    return co_Text.size() - n_continuations;
}

std::string_view CT_Utf8::so_FirstColumns(std::string_view co_Text, std::size_t n_Columns) {
    std::size_t n_At = 0;
    for (std::size_t n = 0; n < n_Columns && n_At < co_Text.size(); ++n) {
        sc_Next(co_Text, n_At);
    }
    return co_Text.substr(0, n_At);
}
