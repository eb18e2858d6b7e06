#include "platform/host/memory/ct_memory_text.h"

namespace {
bool b_IsContinuation(unsigned char c) {
    return (c & 0xC0u) == 0x80u;
}

bool b_IsFlattened(char32_t c) {
    return c == U'\n' || c == U'\r' || c == U'\t';
}
}  // namespace

std::size_t CT_MemoryText::n_SequenceLength(std::string_view co_Text, std::size_t n_Pos) {
    const auto c = static_cast<unsigned char>(co_Text[n_Pos]);
    std::size_t n_Length = 0;
    if (c < 0x80u) {
        return 1;
    } else if (c >= 0xC2u && c <= 0xDFu) {
        n_Length = 2;
    } else if (c >= 0xE0u && c <= 0xEFu) {
        n_Length = 3;
    } else if (c >= 0xF0u && c <= 0xF4u) {
        n_Length = 4;
    } else {
        return 0;
    }
    if (n_Pos + n_Length > co_Text.size()) {
        return 0;
    }
    for (std::size_t n = 1; n < n_Length; ++n) {
        if (!b_IsContinuation(static_cast<unsigned char>(co_Text[n_Pos + n]))) {
            return 0;
        }
    }
    // Overlong forms, surrogates and values past U+10FFFF are not characters.
    const char32_t c_Code = c_Decode(co_Text, n_Pos, n_Length);
    if ((n_Length == 3 && c_Code < 0x800) || (c_Code >= 0xD800 && c_Code <= 0xDFFF) ||
        (n_Length == 4 && (c_Code < 0x10000 || c_Code > 0x10FFFF))) {
        return 0;
    }
    return n_Length;
}

char32_t CT_MemoryText::c_Decode(std::string_view co_Text, std::size_t n_Pos,
                                 std::size_t n_Length) {
    static const unsigned char sn_LeadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t c_Code = static_cast<unsigned char>(co_Text[n_Pos]) & sn_LeadMask[n_Length];
    for (std::size_t n = 1; n < n_Length; ++n) {
        c_Code = (c_Code << 6) | (static_cast<unsigned char>(co_Text[n_Pos + n]) & 0x3Fu);
    }
    return c_Code;
}

std::string CT_MemoryText::s_Narrow(std::string_view co_Text, unsigned n_Limit, bool& b_More) {
    std::size_t n_Pos = 0;
    for (unsigned n_Taken = 0; n_Taken < n_Limit && n_Pos < co_Text.size(); ++n_Taken) {
        const std::size_t n_Length = n_SequenceLength(co_Text, n_Pos);
        // A stray byte counts as one character of its own so that nothing is ever skipped.
        n_Pos += n_Length == 0 ? 1 : n_Length;
    }
    b_More = n_Pos < co_Text.size();
    return std::string(co_Text.substr(0, n_Pos));
}

std::u16string CT_MemoryText::s_Wide(std::string_view co_Text, unsigned n_Limit, bool& b_More) {
    std::u16string co_Out;
    std::size_t n_Pos = 0;
    while (n_Pos < co_Text.size()) {
        const std::size_t n_Length = n_SequenceLength(co_Text, n_Pos);
        const char32_t c_Code = n_Length == 0 ? 0xFFFD : c_Decode(co_Text, n_Pos, n_Length);
        const std::size_t n_Units = c_Code > 0xFFFF ? 2 : 1;
        if (co_Out.size() + n_Units > n_Limit) {
            break;
        }
        if (n_Units == 2) {
            co_Out += static_cast<char16_t>(0xD800 + ((c_Code - 0x10000) >> 10));
            co_Out += static_cast<char16_t>(0xDC00 + ((c_Code - 0x10000) & 0x3FF));
        } else {
            co_Out += static_cast<char16_t>(c_Code);
        }
        n_Pos += n_Length == 0 ? 1 : n_Length;
    }
    b_More = n_Pos < co_Text.size();
    return co_Out;
}

void CT_MemoryText::v_Flatten(std::string& co_Text) {
    for (char& c : co_Text) {
        if (b_IsFlattened(static_cast<unsigned char>(c))) {
            c = ' ';
        }
    }
}

void CT_MemoryText::v_Flatten(std::u16string& co_Text) {
    for (char16_t& c : co_Text) {
        if (b_IsFlattened(c)) {
            c = u' ';
        }
    }
}

bool CT_MemoryText::b_IsValidUtf8(std::string_view co_Text) {
    for (std::size_t n_Pos = 0; n_Pos < co_Text.size();) {
        const std::size_t n_Length = n_SequenceLength(co_Text, n_Pos);
        if (n_Length == 0) {
            return false;
        }
        n_Pos += n_Length;
    }
    return true;
}
