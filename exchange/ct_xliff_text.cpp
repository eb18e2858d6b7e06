#include "exchange/ct_xliff_text.h"

#include <array>

namespace {
// Per byte: 0 for a byte that text content carries as it is, 1 for "&", "<" and ">", 2 for
// a control character XML cannot carry, 3 for 0xEF, which may start U+FFFE or U+FFFF. A lookup
// per byte keeps the common run of plain text one tight loop.
constexpr std::array<unsigned char, 256> kac_Kinds = [] {
    std::array<unsigned char, 256> ac_kinds{};
    for (unsigned c = 0; c < 0x20; ++c) {
        ac_kinds[c] = c == '\t' || c == '\n' || c == '\r' ? 0 : 2;
    }
    ac_kinds['&'] = 1;
    ac_kinds['<'] = 1;
    ac_kinds['>'] = 1;
    ac_kinds[0xEF] = 3;
    return ac_kinds;
}();

unsigned char c_Kind(char c) {
    return kac_Kinds[static_cast<unsigned char>(c)];
}

bool b_Refused(std::string_view co_Text, std::size_t n) {
    const unsigned char c_kind = c_Kind(co_Text[n]);
    return c_kind == 2 || (c_kind == 3 && n + 2 < co_Text.size() &&
                           static_cast<unsigned char>(co_Text[n + 1]) == 0xBF &&
                           static_cast<unsigned char>(co_Text[n + 2]) >= 0xBE);
}
}  // namespace

void CT_XliffText::sv_AppendText(std::string_view co_Text, std::string& co_Out) {
    std::size_t n_from = 0;
    for (std::size_t n = 0; n < co_Text.size(); ++n) {
        const char c = co_Text[n];
        if (c_Kind(c) != 1) {
            continue;
        }
        co_Out.append(co_Text.data() + n_from, n - n_from);
        co_Out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : "&gt;";
        n_from = n + 1;
    }
    co_Out.append(co_Text.data() + n_from, co_Text.size() - n_from);
}

std::size_t CT_XliffText::sn_AppendCarried(std::string_view co_Text, std::string& co_Out) {
    std::size_t n_from = 0;
    std::size_t n = 0;
    for (; n < co_Text.size(); ++n) {
        const char c = co_Text[n];
        const unsigned char c_kind = c_Kind(c);
        if (c_kind == 0) {
            continue;
        }
        if (c_kind != 1) {
            if (b_Refused(co_Text, n)) {
                break;
            }
            continue;
        }
        co_Out.append(co_Text.data() + n_from, n - n_from);
        co_Out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : "&gt;";
        n_from = n + 1;
    }
    co_Out.append(co_Text.data() + n_from, n - n_from);
    return n;
}

void CT_XliffText::sv_AppendAttribute(std::string_view co_Text, std::string& co_Out) {
    for (char c : co_Text) {
        switch (c) {
            case '&':
                co_Out += "&amp;";
                break;
            case '<':
                co_Out += "&lt;";
                break;
            case '"':
                co_Out += "&quot;";
                break;
            case '\t':
                co_Out += "&#9;";
                break;
            case '\n':
                co_Out += "&#10;";
                break;
            case '\r':
                co_Out += "&#13;";
                break;
            default:
                co_Out.push_back(c);
        }
    }
}

std::size_t CT_XliffText::sn_Carried(std::string_view co_Text) {
    for (std::size_t n = 0; n < co_Text.size(); ++n) {
        if (c_Kind(co_Text[n]) >= 2 && b_Refused(co_Text, n)) {
            return n;
        }
    }
    return co_Text.size();
}

char32_t CT_XliffText::sc_Refused(std::string_view co_Text, std::size_t& n_Length) {
    const unsigned char c = static_cast<unsigned char>(co_Text[0]);
    if (c < 0x80) {
        n_Length = 1;
        return c;
    }
    n_Length = 3;
    return static_cast<unsigned char>(co_Text[2]) == 0xBE ? 0xFFFE : 0xFFFF;
}
