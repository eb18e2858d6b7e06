#include "exchange/ct_xliff_text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#else
#include "platform/common/ct_eight_bytes.h"
#endif

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
// How far the run at co_Text[n] goes without a byte that the byte loop must look at (a control
// character, "&", "<", ">" or 0xEF). Text is mostly long runs of none of these: sixteen bytes
// at a time where the processor has SSE2, eight elsewhere.
#if defined(__SSE2__)
std::size_t n_Skip(std::string_view co_Text, std::size_t n) {
    const __m128i co_controls = _mm_set1_epi8(0x1F);
    while (n + 16 <= co_Text.size()) {
        const __m128i co_bytes =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(co_Text.data() + n));
        __m128i co_marks =
            _mm_cmpeq_epi8(_mm_max_epu8(co_bytes, co_controls), co_controls);  // <= 0x1F
        co_marks = _mm_or_si128(co_marks, _mm_cmpeq_epi8(co_bytes, _mm_set1_epi8('&')));
        co_marks = _mm_or_si128(co_marks, _mm_cmpeq_epi8(co_bytes, _mm_set1_epi8('<')));
        co_marks = _mm_or_si128(co_marks, _mm_cmpeq_epi8(co_bytes, _mm_set1_epi8('>')));
        co_marks = _mm_or_si128(co_marks,
                                _mm_cmpeq_epi8(co_bytes, _mm_set1_epi8(static_cast<char>(0xEF))));
        const unsigned n_marks = static_cast<unsigned>(_mm_movemask_epi8(co_marks));
        if (n_marks != 0) {
            return n + static_cast<std::size_t>(__builtin_ctz(n_marks));
        }
        n += 16;
    }
    return n;
}
#else
std::size_t n_Skip(std::string_view co_Text, std::size_t n) {
    while (n + 8 <= co_Text.size()) {
        const std::uint64_t n_eight = CT_EightBytes::sn_Load(co_Text.data() + n);
        if ((CT_EightBytes::sn_Below(n_eight, 0x20) | CT_EightBytes::sn_Equal(n_eight, '&') |
             CT_EightBytes::sn_Equal(n_eight, '<') | CT_EightBytes::sn_Equal(n_eight, '>') |
             CT_EightBytes::sn_Equal(n_eight, 0xEF)) != 0) {
            return n;
        }
        n += 8;
    }
    return n;
}
#endif

const char* pc_Entity(char c) {
    return c == '&' ? "&amp;" : c == '<' ? "&lt;" : "&gt;";
}
}  // namespace

std::size_t CT_XliffText::sn_AppendCarried(std::string_view co_Text, std::string& co_Out) {
    std::size_t n_from = 0;
    std::size_t n = 0;
    while (n < co_Text.size()) {
        n = n_Skip(co_Text, n);
        if (n >= co_Text.size()) {
            break;
        }
        const char c = co_Text[n];
        const unsigned char c_kind = c_Kind(c);
        if (c_kind == 1) {
            co_Out.append(co_Text.data() + n_from, n - n_from);
            co_Out += pc_Entity(c);
            n_from = n + 1;
        } else if (c_kind != 0 && b_Refused(co_Text, n)) {
            break;
        }
        ++n;
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
