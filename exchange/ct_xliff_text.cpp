#include "exchange/ct_xliff_text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

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

namespace {
constexpr std::uint64_t kn_Ones = 0x0101010101010101ull;
constexpr std::uint64_t kn_Highs = 0x8080808080808080ull;

std::uint64_t n_Zeros(std::uint64_t n_Eight) {
    return (n_Eight - kn_Ones) & ~n_Eight & kn_Highs;
}

// Whether any of eight bytes is a control character, "&", "<", ">" or 0xEF: whether the byte
// loop must look at them. Text is mostly long runs of none of these, passed a word at a time.
bool b_AnyToLookAt(std::uint64_t n_Eight) {
    const std::uint64_t n_controls = (n_Eight - kn_Ones * 0x20) & ~n_Eight & kn_Highs;
    return (n_controls | n_Zeros(n_Eight ^ (kn_Ones * '&')) | n_Zeros(n_Eight ^ (kn_Ones * '<')) |
            n_Zeros(n_Eight ^ (kn_Ones * '>')) | n_Zeros(n_Eight ^ (kn_Ones * 0xEF))) != 0;
}

const char* pc_Entity(char c) {
    return c == '&' ? "&amp;" : c == '<' ? "&lt;" : "&gt;";
}
}  // namespace

std::size_t CT_XliffText::sn_AppendCarried(std::string_view co_Text, std::string& co_Out) {
    std::size_t n_from = 0;
    std::size_t n = 0;
    bool b_refused = false;
    while (n < co_Text.size() && !b_refused) {
        std::uint64_t n_eight = 0;
        if (n + sizeof n_eight <= co_Text.size()) {
            std::memcpy(&n_eight, co_Text.data() + n, sizeof n_eight);
            if (!b_AnyToLookAt(n_eight)) {
                n += sizeof n_eight;
                continue;
            }
        }
        const std::size_t n_stop = std::min(n + sizeof n_eight, co_Text.size());
        for (; n < n_stop; ++n) {
            const char c = co_Text[n];
            const unsigned char c_kind = c_Kind(c);
            if (c_kind == 0) {
                continue;
            }
            if (c_kind != 1) {
                b_refused = b_Refused(co_Text, n);
                if (b_refused) {
                    break;
                }
                continue;
            }
            co_Out.append(co_Text.data() + n_from, n - n_from);
            co_Out += pc_Entity(c);
            n_from = n + 1;
        }
    }
    co_Out.append(co_Text.data() + n_from, n - n_from);
    return n;
}

void CT_XliffText::sv_AppendAttribute(std::string_view co_Text, std::string& co_Out) {
    std::size_t n_from = 0;
    for (std::size_t n = 0; n < co_Text.size(); ++n) {
        const char* pc_entity = nullptr;
        switch (co_Text[n]) {
            case '&':
                pc_entity = "&amp;";
                break;
            case '<':
                pc_entity = "&lt;";
                break;
            case '"':
                pc_entity = "&quot;";
                break;
            case '\t':
                pc_entity = "&#9;";
                break;
            case '\n':
                pc_entity = "&#10;";
                break;
            case '\r':
                pc_entity = "&#13;";
                break;
            default:
                continue;
        }
        co_Out.append(co_Text.data() + n_from, n - n_from);
        co_Out += pc_entity;
        n_from = n + 1;
    }
    co_Out.append(co_Text.data() + n_from, co_Text.size() - n_from);
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
