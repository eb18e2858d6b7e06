#include "exchange/ct_tagged_token.h"

#include <array>
#include <charconv>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
using et_Kind = CT_TaggedToken::et_Kind;

[[noreturn]] void v_Refuse(const char* pc_What, std::size_t n_At) {
    throw std::invalid_argument(std::string(pc_What) + " at byte " + std::to_string(n_At));
}

// Per byte: 1 for what ends a run of plain text when reading ("\\", "<", line ends), 2 for
// what is escaped when writing ("\\", "<", ">"), 3 for both.
constexpr std::array<unsigned char, 256> kac_Kinds = [] {
    std::array<unsigned char, 256> ac_kinds{};
    ac_kinds['\\'] = 3;
    ac_kinds['<'] = 3;
    ac_kinds['>'] = 2;
    ac_kinds['\r'] = 1;
    ac_kinds['\n'] = 1;
    return ac_kinds;
}();

// Where the first of the bytes a, b, c and d at or after n stands; the text's size when none.
// Sixteen bytes at a time where the processor has SSE2: stories are mostly long runs of text.
std::size_t n_FindAny(std::string_view co_Text, std::size_t n, char a, char b, char c, char d) {
#if defined(__SSE2__)
    while (n + 16 <= co_Text.size()) {
        const __m128i co_bytes =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(co_Text.data() + n));
        __m128i co_marks = _mm_cmpeq_epi8(co_bytes, _mm_set1_epi8(a));
        co_marks = _mm_or_si128(co_marks, _mm_cmpeq_epi8(co_bytes, _mm_set1_epi8(b)));
        co_marks = _mm_or_si128(co_marks, _mm_cmpeq_epi8(co_bytes, _mm_set1_epi8(c)));
        co_marks = _mm_or_si128(co_marks, _mm_cmpeq_epi8(co_bytes, _mm_set1_epi8(d)));
        const unsigned n_marks = static_cast<unsigned>(_mm_movemask_epi8(co_marks));
        if (n_marks != 0) {
            return n + static_cast<std::size_t>(__builtin_ctz(n_marks));
        }
        n += 16;
    }
#endif
    while (n < co_Text.size() && co_Text[n] != a && co_Text[n] != b && co_Text[n] != c &&
           co_Text[n] != d) {
        ++n;
    }
    return n;
}

// Where the run of plain text from n ends: at "\\", "<", a line end or the content's end.
std::size_t n_PlainEnd(std::string_view co_Content, std::size_t n) {
    return n_FindAny(co_Content, n, '\\', '<', '\r', '\n');
}

bool b_Escaped(char c) {
    return (kac_Kinds[static_cast<unsigned char>(c)] & 2) != 0;
}

// The code at n_At ("<gN>", "</gN>" or "<xN/>"); its length, 0 when there is none.
std::size_t n_CodeLength(std::string_view co_Content, std::size_t n_At, CT_TaggedToken& co_Token) {
    std::size_t n = n_At + 1;
    bool b_close = n < co_Content.size() && co_Content[n] == '/';
    n += b_close ? 1 : 0;
    if (n >= co_Content.size() || (co_Content[n] != 'g' && co_Content[n] != 'x') ||
        (b_close && co_Content[n] == 'x')) {
        return 0;
    }
    const bool b_standalone = co_Content[n] == 'x';
    std::size_t n_digits = ++n;
    unsigned n_number = 0;
    while (n < co_Content.size() && co_Content[n] >= '0' && co_Content[n] <= '9' &&
           n - n_digits < 9) {
        n_number = n_number * 10 + static_cast<unsigned>(co_Content[n] - '0');
        ++n;
    }
    std::string_view co_tail = b_standalone ? "/>" : ">";
    if (n == n_digits || co_Content[n_digits] == '0' ||
        co_Content.substr(n, co_tail.size()) != co_tail) {
        return 0;
    }
    co_Token.eo_Kind = b_standalone ? et_Kind::e_Standalone
                       : b_close    ? et_Kind::e_Close
                                    : et_Kind::e_Open;
    co_Token.n_Code = n_number;
    return n + co_tail.size() - n_At;
}
}  // namespace

namespace {
// Reads the content piece by piece: f_Text(text) for each run of unescaped text (a view into
// the content; adjacent runs are not joined), f_Token(token) for each line end and code. Raises
// as CT_TaggedToken::sv_Read. Returns how many ">" it read as code ends or escapes, and sets
// b_Cr when a line ended in a CR.
template <class F_Text, class F_Token>
std::size_t n_Scan(std::string_view co_Content, F_Text&& f_Text, F_Token&& f_Token, bool& b_Cr) {
    // Every ">" that sv_Write gives back ends a code or is escaped; any other is read as text
    // and written back escaped.
    std::size_t n_closers = 0;
    b_Cr = false;
    std::size_t n = 0;
    while (n < co_Content.size()) {
        std::size_t n_plain = n_PlainEnd(co_Content, n);
        if (n_plain > n) {
            f_Text(co_Content.substr(n, n_plain - n));
            n = n_plain;
            continue;
        }
        const char c = co_Content[n];
        if (c == '\n' || c == '\r') {
            b_Cr = b_Cr || c == '\r';
            n += c == '\r' && n + 1 < co_Content.size() && co_Content[n + 1] == '\n' ? 2 : 1;
            f_Token(CT_TaggedToken{et_Kind::e_LineEnd, std::string(), 0});
            continue;
        }
        if (c == '\\') {
            const char c_next = n + 1 < co_Content.size() ? co_Content[n + 1] : '\0';
            if (c_next != '\\' && c_next != '<' && c_next != '>') {
                v_Refuse("\"\\\" that escapes nothing", n);
            }
            f_Text(co_Content.substr(n + 1, 1));
            n_closers += c_next == '>' ? 1 : 0;
            n += 2;
            continue;
        }
        CT_TaggedToken co_code;
        const std::size_t n_length = n_CodeLength(co_Content, n, co_code);
        if (n_length == 0) {
            v_Refuse("\"<\" that starts no code", n);
        }
        f_Token(std::move(co_code));
        ++n_closers;
        n += n_length;
    }
    return n_closers;
}
}  // namespace

bool CT_TaggedToken::sb_Read(std::string_view co_Content, std::vector<CT_TaggedToken>& co_Tokens) {
    // Tokens alternate between text and codes or line ends at most: room for them all at once.
    std::size_t n_all = 0;
    std::size_t n_lines = 0;
    for (std::size_t n_at = co_Content.find('>'); n_at != std::string_view::npos;
         n_at = co_Content.find('>', n_at + 1)) {
        ++n_all;
    }
    for (std::size_t n_at = co_Content.find('\n'); n_at != std::string_view::npos;
         n_at = co_Content.find('\n', n_at + 1)) {
        ++n_lines;
    }
    co_Tokens.reserve(co_Tokens.size() + 2 * (n_all + n_lines) + 1);
    bool b_cr = false;
    const std::size_t n_closers = n_Scan(
        co_Content, [&](std::string_view co_Text) { sv_AddText(co_Tokens, co_Text); },
        [&](CT_TaggedToken&& co_Token) { co_Tokens.push_back(std::move(co_Token)); }, b_cr);
    return !b_cr && n_all == n_closers;
}

void CT_TaggedToken::sv_Scan(std::string_view co_Content,
                             const std::function<void(std::string_view)>& f_Text,
                             const std::function<void(const CT_TaggedToken&)>& f_Token) {
    bool b_cr = false;
    n_Scan(
        co_Content, f_Text, [&](CT_TaggedToken&& co_Token) { f_Token(co_Token); }, b_cr);
}

bool CT_TaggedToken::sb_ReadsAsWritten(std::string_view co_Content) {
    std::size_t n = 0;
    while (n < co_Content.size()) {
        const char c = co_Content[n];
        if (kac_Kinds[static_cast<unsigned char>(c)] == 0) {
            ++n;
            continue;
        }
        if (c == '\\') {
            const char c_next = n + 1 < co_Content.size() ? co_Content[n + 1] : '\0';
            if (!b_Escaped(c_next)) {
                return false;
            }
            n += 2;
            continue;
        }
        CT_TaggedToken co_code;
        const std::size_t n_length = c == '<' ? n_CodeLength(co_Content, n, co_code) : 0;
        if (c == '\n') {
            ++n;
        } else if (n_length == 0) {
            return false;  // CR, a bare ">" or a "<" that starts no code
        }
        n += n_length;
    }
    return true;
}

void CT_TaggedToken::sv_AppendEscaped(std::string_view co_Text, std::string& co_Out) {
    std::size_t n_from = 0;
    for (std::size_t n = n_FindAny(co_Text, 0, '\\', '<', '>', '>'); n < co_Text.size();
         n = n_FindAny(co_Text, n + 1, '\\', '<', '>', '>')) {
        co_Out.append(co_Text.data() + n_from, n - n_from);
        co_Out.push_back('\\');
        co_Out.push_back(co_Text[n]);
        n_from = n + 1;
    }
    co_Out.append(co_Text.data() + n_from, co_Text.size() - n_from);
}

void CT_TaggedToken::sv_Write(const std::vector<CT_TaggedToken>& co_Tokens, std::string& co_Out) {
    for (const CT_TaggedToken& co_token : co_Tokens) {
        sv_Write(co_token, co_Out);
    }
}

void CT_TaggedToken::sv_Write(const CT_TaggedToken& co_Token, std::string& co_Out) {
    const char* pc_open = "<g";
    const char* pc_close = ">";
    switch (co_Token.eo_Kind) {
        case et_Kind::e_Text:
            sv_AppendEscaped(co_Token.co_Text, co_Out);
            return;
        case et_Kind::e_LineEnd:
            co_Out.push_back('\n');
            return;
        case et_Kind::e_Open:
            break;
        case et_Kind::e_Close:
            pc_open = "</g";
            break;
        case et_Kind::e_Standalone:
            pc_open = "<x";
            pc_close = "/>";
            break;
    }
    char ac_digits[16];
    const std::to_chars_result co_end =
        std::to_chars(ac_digits, ac_digits + sizeof ac_digits, co_Token.n_Code);
    co_Out += pc_open;
    co_Out.append(ac_digits, co_end.ptr);
    co_Out += pc_close;
}

void CT_TaggedToken::sv_AddText(std::vector<CT_TaggedToken>& co_Tokens, std::string_view co_Text) {
    if (co_Text.empty()) {
        return;
    }
    if (co_Tokens.empty() || co_Tokens.back().eo_Kind != et_Kind::e_Text) {
        co_Tokens.push_back(CT_TaggedToken{et_Kind::e_Text, std::string(), 0});
    }
    co_Tokens.back().co_Text.append(co_Text);
}
