#include "platform/host/idml/ct_idml_story_lexer.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/common/ct_eight_bytes.h"
#include "platform/common/ct_utf8.h"
#include "platform/host/idml/ct_idml_story_refusal.h"

namespace {
// How many of the eight bytes come before the first that may end plain ASCII text: a byte not
// ASCII, a code's start, an escape or a control character (a tab too, which does not end it);
// 8 when none may.
std::size_t n_PlainAscii(std::uint64_t n_Eight) {
    return CT_EightBytes::sn_BeforeFirst(
        (n_Eight & CT_EightBytes::kn_Highs) | CT_EightBytes::sn_Equal(n_Eight, '<') |
        CT_EightBytes::sn_Equal(n_Eight, '\\') | CT_EightBytes::sn_Below(n_Eight, 0x20));
}

// 2 or 3 for the letters of most scripts, given the first three bytes of a sequence (the first
// in the lowest byte): two bytes from U+0080, or three away from the edges (overlong forms,
// surrogates and the noncharacters) that the full check is for. 0 for anything else.
std::size_t n_CommonLength(std::uint64_t n_Three) {
    const unsigned c_lead = static_cast<unsigned>(n_Three & 0xFF);
    if (c_lead >= 0xC2 && c_lead <= 0xDF && (n_Three & 0xC000) == 0x8000) {
        return 2;
    }
    if (c_lead >= 0xE1 && c_lead <= 0xEC && (n_Three & 0xC0C000) == 0x808000) {
        return 3;
    }
    return 0;
}

// Length of the well-formed UTF-8 sequence at the position, 0 when there is none (overlong
// forms and surrogates included) or when XML cannot carry its character.
std::size_t n_CharacterLength(std::string_view co_Text, std::size_t n_At) {
    // Bytes past the end stand as zeros, which continue no sequence.
    std::uint64_t n_three = 0;
    for (std::size_t n = 0; n < 3 && n_At + n < co_Text.size(); ++n) {
        n_three |= std::uint64_t{static_cast<unsigned char>(co_Text[n_At + n])} << (8 * n);
    }
    if (const std::size_t n_common = n_CommonLength(n_three)) {
        return n_common;
    }
    const std::size_t n_length = CT_Utf8::sn_SequenceLength(co_Text, n_At);
    // U+FFFE and U+FFFF are no characters XML may hold.
    const bool b_noncharacter = n_length == 3 && co_Text.compare(n_At, 2, "\xEF\xBF") == 0 &&
                                static_cast<unsigned char>(co_Text[n_At + 2]) >= 0xBE;
    return b_noncharacter ? 0 : n_length;
}
}  // namespace

CT_IdmlStoryLexer::CT_IdmlStoryLexer(std::string_view co_Content, const CT_String& co_Key)
    : co_Content(co_Content), co_Key(co_Key) {}

void CT_IdmlStoryLexer::v_Next(CT_Token& co_Token) {
    co_Token.co_Text.clear();
    co_Token.n_Number = 0;
    if (n_Position == co_Content.size()) {
        co_Token.eo_Kind = et_Token::e_End;
        return;
    }
    char c_first = co_Content[n_Position];
    if (c_first == '\n' || c_first == '\r') {
        ++n_Position;
        if (c_first == '\r' && n_Position < co_Content.size() && co_Content[n_Position] == '\n') {
            ++n_Position;
        }
        co_Token.eo_Kind = et_Token::e_LineEnd;
        return;
    }
    if (c_first == '<') {
        return v_Code(co_Token);
    }
    v_Text(co_Token);
}

void CT_IdmlStoryLexer::v_Text(CT_Token& co_Token) {
    co_Token.eo_Kind = et_Token::e_Text;
    while (n_Position < co_Content.size()) {
        std::size_t n_plain = n_PlainLength();
        if (n_plain > 0) {
            co_Token.co_Text.append(co_Content.substr(n_Position, n_plain));
            n_Position += n_plain;
            continue;
        }
        unsigned char c = static_cast<unsigned char>(co_Content[n_Position]);
        if (c == '<' || c == '\n' || c == '\r') {
            return;
        }
        if (c == '\\') {
            char c_next = n_Position + 1 < co_Content.size() ? co_Content[n_Position + 1] : '\0';
            if (c_next != '\\' && c_next != '<' && c_next != '>') {
                v_BadEscape(c_next);
            }
            co_Token.co_Text.push_back(c_next);
            n_Position += 2;
            continue;
        }
        if (c < 0x20 && c != '\t') {
            char ac_code[8];
            std::snprintf(ac_code, sizeof ac_code, "%04X", c);
            v_Refuse(std::string("control character U+") + ac_code);
        }
        // Plain text takes every well-formed character: what is left is not UTF-8.
        v_Refuse("text that is not UTF-8");
    }
}

void CT_IdmlStoryLexer::v_Code(CT_Token& co_Token) {
    struct CT_Shape {
        std::string_view co_Head;
        std::string_view co_Tail;
        et_Token eo_Kind;
    };
    static constexpr CT_Shape sa_Shapes[] = {
        {"<g", ">", et_Token::e_Open},
        {"</g", ">", et_Token::e_Close},
        {"<x", "/>", et_Token::e_Standalone},
    };
    const std::size_t n_start = n_Position;
    for (const CT_Shape& co_shape : sa_Shapes) {
        if (co_Content.substr(n_start, co_shape.co_Head.size()) != co_shape.co_Head) {
            continue;
        }
        n_Position = n_start + co_shape.co_Head.size();
        unsigned n_number = 0;
        if (b_Number(n_number) &&
            co_Content.substr(n_Position, co_shape.co_Tail.size()) == co_shape.co_Tail) {
            n_Position += co_shape.co_Tail.size();
            co_Token.eo_Kind = co_shape.eo_Kind;
            co_Token.n_Number = n_number;
            return;
        }
        break;
    }
    n_Position = n_start;
    v_Refuse("\"<\" that starts no code (escape it as \"\\<\")");
}

// Numbers as export writes them: no sign, no leading zero, small enough for any story.
bool CT_IdmlStoryLexer::b_Number(unsigned& n_Number) {
    std::size_t n_digits = 0;
    n_Number = 0;
    while (n_Position < co_Content.size() && co_Content[n_Position] >= '0' &&
           co_Content[n_Position] <= '9' && n_digits < 9) {
        if (n_digits == 0 && co_Content[n_Position] == '0') {
            return false;
        }
        n_Number = n_Number * 10 + static_cast<unsigned>(co_Content[n_Position] - '0');
        ++n_Position;
        ++n_digits;
    }
    return n_digits > 0;
}

// Printable ASCII other than "<" and "\\", and tabs: taken as they stand, many at a time.
// Text as it stands runs on through well-formed characters of any script: stopping at each
// one that is not ASCII would append a translation into Cyrillic or Chinese a character at a
// time. Eight bytes are looked at together, and the ASCII before the first that needs a look of
// its own passed at once: text in a language with accents has one every few words.
std::size_t CT_IdmlStoryLexer::n_PlainLength() const {
    const std::size_t n_size = co_Content.size();
    std::size_t n_end = n_Position;
    while (n_end < n_size) {
        if (n_end + 8 <= n_size) {
            const std::uint64_t n_eight = CT_EightBytes::sn_Load(co_Content.data() + n_end);
            const std::size_t n_ascii = n_PlainAscii(n_eight);
            if (n_ascii == 8) {
                n_end += 8;
                continue;
            }
            // Letters of another script, from the bytes in hand while all of one is there.
            std::size_t n_at = n_ascii;
            while (n_at < 7) {
                const std::size_t n_common = n_CommonLength(n_eight >> (8 * n_at));
                if (n_common == 0) {
                    break;
                }
                n_at += n_common;
            }
            n_end += n_at;
            if (n_at != n_ascii) {
                continue;
            }
        }
        const unsigned char c = static_cast<unsigned char>(co_Content[n_end]);
        if (c < 0x80) {
            if (c == '<' || c == '\\' || (c < 0x20 && c != '\t')) {
                break;
            }
            ++n_end;
            continue;
        }
        const std::size_t n_length = n_CharacterLength(co_Content, n_end);
        if (n_length == 0) {
            break;
        }
        n_end += n_length;
    }
    return n_end - n_Position;
}

void CT_IdmlStoryLexer::v_BadEscape(char c_Next) const {
    bool b_printable = c_Next > ' ' && c_Next < 0x7F;
    v_Refuse(b_printable ? "bad escape \"\\" + std::string(1, c_Next) + "\""
                         : std::string("\"\\\" that escapes nothing"));
}

void CT_IdmlStoryLexer::v_Refuse(const std::string& co_What) const {
    CT_IdmlStoryRefusal::sv_Refuse(co_Key, co_What + " at byte " + std::to_string(n_Position));
}
