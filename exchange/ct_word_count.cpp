#include "exchange/ct_word_count.h"

#include <unicode/brkiter.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/uscript.h>
#include <unicode/utf8.h>

#include <array>
#include <stdexcept>
#include <unordered_map>

#include "exchange/ct_icu_locale.h"

namespace {

std::unique_ptr<icu::BreakIterator> pco_Make(bool b_Words, const icu::Locale& co_Locale) {
    UErrorCode eo_status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> pco_iterator(
        b_Words ? icu::BreakIterator::createWordInstance(co_Locale, eo_status)
                : icu::BreakIterator::createCharacterInstance(co_Locale, eo_status));
    if (U_FAILURE(eo_status) || !pco_iterator) {
        throw std::runtime_error(std::string("ICU cannot count text: ") + u_errorName(eo_status));
    }
    return pco_iterator;
}

bool b_HasSpace(const icu::UnicodeString& co_Text, int32_t i_Start, int32_t i_End) {
    for (int32_t i = i_Start; i < i_End; i = co_Text.moveIndex32(i, 1)) {
        if (u_isUWhiteSpace(co_Text.char32At(i))) {
            return true;
        }
    }
    return false;
}

// The plain text of tagged content: paired codes vanish, object codes become a space.
void v_PlainOf(std::string_view co_Content, std::string& co_Plain) {
    co_Plain.clear();
    std::size_t n = 0;
    while (n < co_Content.size()) {
        char c = co_Content[n];
        if (c == '\\' && n + 1 < co_Content.size() &&
            (co_Content[n + 1] == '\\' || co_Content[n + 1] == '<' || co_Content[n + 1] == '>')) {
            co_Plain.push_back(co_Content[n + 1]);
            n += 2;
            continue;
        }
        const bool b_room = n + 2 < co_Content.size();  // for "<gN", the shortest start of a code
        if (c == '<' && b_room) {
            std::size_t n_at = n + 1;
            bool b_close = co_Content[n_at] == '/';
            n_at += b_close ? 1 : 0;
            char c_kind = co_Content[n_at];
            std::size_t n_digits = n_at + 1;
            while (n_digits < co_Content.size() && co_Content[n_digits] >= '0' &&
                   co_Content[n_digits] <= '9') {
                ++n_digits;
            }
            std::string_view co_tail = co_Content.substr(n_digits, 2);
            if (n_digits > n_at + 1 && c_kind == 'g' && co_tail.substr(0, 1) == ">") {
                n = n_digits + 1;
                continue;
            }
            if (n_digits > n_at + 1 && !b_close && c_kind == 'x' && co_tail == "/>") {
                co_Plain.push_back(' ');
                n = n_digits + 2;
                continue;
            }
        }
        // Text up to the next escape or angle bracket goes in at once.
        std::size_t n_run = n + 1;
        while (n_run < co_Content.size() && co_Content[n_run] != '\\' && co_Content[n_run] != '<') {
            ++n_run;
        }
        co_Plain.append(co_Content.data() + n, n_run - n);
        n = n_run;
    }
}

bool b_IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool b_IsAsciiWord(std::string_view co_Piece) {
    for (char c : co_Piece) {
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) {
            return false;
        }
    }
    return true;
}

// Whether the text may be cut between n_End (the end of a piece) and n_Next (the start of the
// next, after blanks) without changing a word or a character: the blanks then stand alone and
// count nothing. They do not when a mark, a joiner or a format character follows them (it
// clings to the blank before it) or a prefix character precedes them (it clings to what follows).
bool b_CutsCleanly(std::string_view co_Text, std::size_t n_End, std::size_t n_Next) {
    if (n_Next < co_Text.size() && static_cast<unsigned char>(co_Text[n_Next]) >= 0x80) {
        int32_t i_at = static_cast<int32_t>(n_Next);
        UChar32 c_next = 0;
        U8_NEXT(co_Text.data(), i_at, static_cast<int32_t>(co_Text.size()), c_next);
        if (c_next >= 0) {
            const int32_t i_word = u_getIntPropertyValue(c_next, UCHAR_WORD_BREAK);
            const int32_t i_grapheme = u_getIntPropertyValue(c_next, UCHAR_GRAPHEME_CLUSTER_BREAK);
            if (i_word == U_WB_EXTEND || i_word == U_WB_FORMAT || i_word == U_WB_ZWJ ||
                i_grapheme == U_GCB_EXTEND || i_grapheme == U_GCB_ZWJ ||
                i_grapheme == U_GCB_SPACING_MARK) {
                return false;
            }
        }
    }
    if (n_End > 0 && static_cast<unsigned char>(co_Text[n_End - 1]) >= 0x80) {
        int32_t i_at = static_cast<int32_t>(n_End);
        UChar32 c_last = 0;
        U8_PREV(co_Text.data(), 0, i_at, c_last);
        if (c_last >= 0 &&
            u_getIntPropertyValue(c_last, UCHAR_GRAPHEME_CLUSTER_BREAK) == U_GCB_PREPEND) {
            return false;
        }
    }
    return true;
}

// What counting tools take for punctuation: a run of these alone is no word, and they are no
// part of the word they stand at the ends of.
bool b_IsPunctuation(UChar32 c) {
    if (c < 0x80) {
        // The ASCII marks of the list below, looked up at once: most text is ASCII.
        static const std::array<bool, 128> sab_ascii = [] {
            std::array<bool, 128> ab_marks{};
            for (const char* pc = ".,;:!?-@#$%^*_()[]{}/\\'`\"<>"; *pc != '\0'; ++pc) {
                ab_marks[static_cast<unsigned char>(*pc)] = true;
            }
            return ab_marks;
        }();
        return c >= 0 && sab_ascii[static_cast<std::size_t>(c)];
    }
    static const std::u32string sco_marks =
        U".,;:!?-@#$%^*_()[]{}/\\'`\"<>"
        U"\u2018\u2019\u201B\u201C\u201D\u201E\u201F\u2032\u2033\u2034\u2035\u2036\u2037"
        U"\u2039\u203A\u00AB\u00BB"
        U"\u00BF\u00A1"
        U"\u060C\u061F\u061B\u00F7"
        U"\u3002\u3001\uFF0C\uFF1B\uFF01\uFF1F\u300C\u300D\u300E\u300F\u3010\u3011"
        U"\u0964\u0965\u0970"
        U"\u1362\u1364\u1363"
        U"\u2026\u00B1\u00B0\u00B9\u00B2\u00B3\u00B7\u00A9\u00AE\u00D7\u00A3\u00A5\u20AC";
    return sco_marks.find(static_cast<char32_t>(c)) != std::u32string::npos;
}

bool b_IsSpace(UChar32 c) {
    if (c < 0x80) {
        return c == ' ' || (c >= '\t' && c <= '\r') || (c >= 0x1C && c <= 0x1F);
    }
    return u_isUWhiteSpace(c);
}

// Scripts written without spaces between words, which ICU's dictionaries cut.
bool b_IsSpaceless(UChar32 c) {
    if (c < 0x0E00) {
        return false;  // every script before Thai is written with spaces
    }
    UErrorCode eo_status = U_ZERO_ERROR;
    switch (uscript_getScript(c, &eo_status)) {
        case USCRIPT_HAN:
        case USCRIPT_HIRAGANA:
        case USCRIPT_KATAKANA:
        case USCRIPT_KATAKANA_OR_HIRAGANA:
        case USCRIPT_THAI:
        case USCRIPT_LAO:
        case USCRIPT_KHMER:
        case USCRIPT_MYANMAR:
            return true;
        default:
            return false;
    }
}

// Pieces met before and what they counted; bounded, since a long text of numbers or names
// could otherwise fill memory with pieces met once.
constexpr std::size_t kn_MaxRemembered = 1u << 16;

}  // namespace

struct CT_WordCount::ct_Iterators {
    std::unique_ptr<icu::BreakIterator> pco_Words;
    std::unique_ptr<icu::BreakIterator> pco_Characters;
    std::unordered_map<std::string, CT_TextCount> co_Remembered;
    std::string s_Piece;  // the lookup key, kept to reuse its buffer
    std::string s_Plain;  // tagged content's text, likewise
    std::string s_Run;    // a run of text cut by a dictionary, likewise
};

CT_WordCount::CT_WordCount(const std::string& co_Locale) : pco_Iterators(new ct_Iterators) {
    icu::Locale co_locale = CT_IcuLocale::sco_From(co_Locale);
    pco_Iterators->pco_Words = pco_Make(true, co_locale);
    pco_Iterators->pco_Characters = pco_Make(false, co_locale);
}

CT_WordCount::~CT_WordCount() = default;

CT_TextCount CT_WordCount::co_CountTagged(std::string_view co_Content) {
    return co_CountText(co_PlainOf(co_Content));
}

std::size_t CT_WordCount::n_CountTaggedCharacters(std::string_view co_Content) {
    return n_Characters(co_PlainOf(co_Content));
}

// Content without "\" or "<" has neither escapes nor codes: it is its own text.
std::string_view CT_WordCount::co_PlainOf(std::string_view co_Content) {
    if (co_Content.find('\\') == std::string_view::npos &&
        co_Content.find('<') == std::string_view::npos) {
        return co_Content;
    }
    v_PlainOf(co_Content, pco_Iterators->s_Plain);
    return pco_Iterators->s_Plain;
}

bool CT_WordCount::sb_HasLetter(std::string_view co_Text) {
    const int32_t i_length = static_cast<int32_t>(co_Text.size());
    for (int32_t i = 0; i < i_length;) {
        const unsigned char c_byte = static_cast<unsigned char>(co_Text[i]);
        if (c_byte < 0x80) {
            // In ASCII only the letters are alphabetic; most text needs no ICU lookup.
            if ((c_byte | 0x20) >= 'a' && (c_byte | 0x20) <= 'z') {
                return true;
            }
            ++i;
            continue;
        }
        UChar32 c = 0;
        U8_NEXT(co_Text.data(), i, i_length, c);
        if (c >= 0 && u_isUAlphabetic(c)) {
            return true;
        }
    }
    return false;
}

bool CT_WordCount::sb_HasDigit(std::string_view co_Text) {
    const int32_t i_length = static_cast<int32_t>(co_Text.size());
    for (int32_t i = 0; i < i_length;) {
        const unsigned char c_byte = static_cast<unsigned char>(co_Text[i]);
        if (c_byte < 0x80) {
            if (c_byte >= '0' && c_byte <= '9') {
                return true;
            }
            ++i;
            continue;
        }
        UChar32 c = 0;
        U8_NEXT(co_Text.data(), i, i_length, c);
        if (c >= 0 && u_isdigit(c)) {
            return true;
        }
    }
    return false;
}

CT_TextCount CT_WordCount::co_CountText(std::string_view co_Text) {
    return CT_TextCount{n_Words(co_Text), n_Characters(co_Text)};
}

// Characters are counted piece by piece, a piece being what stands between blanks: they never
// reach across a blank, and a translator's text repeats its words, so most pieces are counted
// once and then remembered, and the plainest need no counting at all.
std::size_t CT_WordCount::n_Characters(std::string_view co_Text) {
    std::size_t n_characters = 0;
    std::size_t n_start = 0;
    while (n_start < co_Text.size() && b_IsBlank(co_Text[n_start])) {
        ++n_start;
    }
    if (n_start < co_Text.size() && !b_CutsCleanly(co_Text, 0, n_start)) {
        n_start = 0;
    }
    std::size_t n_end = n_start;
    unsigned char c_bits = 0;  // every byte of the piece or'ed: below 0x80 for ASCII
    while (n_start < co_Text.size()) {
        while (n_end < co_Text.size() && !b_IsBlank(co_Text[n_end])) {
            c_bits |= static_cast<unsigned char>(co_Text[n_end]);
            ++n_end;
        }
        std::size_t n_next = n_end;
        while (n_next < co_Text.size() && b_IsBlank(co_Text[n_next])) {
            ++n_next;
        }
        if (n_next < co_Text.size() && !b_CutsCleanly(co_Text, n_end, n_next)) {
            n_end = n_next;  // the blanks belong to the piece
            continue;
        }
        // Only non-ASCII text keeps blanks in a piece; in ASCII every other byte is a
        // character of its own.
        const std::string_view co_piece = co_Text.substr(n_start, n_end - n_start);
        n_characters += c_bits < 0x80 ? co_piece.size() : co_CountPiece(co_piece).n_Characters;
        c_bits = 0;
        n_start = n_end = n_next;
    }
    return n_characters;
}

namespace {

// The code point at i_At, U+FFFD for bytes that are no UTF-8; i_At moves past it.
UChar32 c_Next(std::string_view co_Text, int32_t& i_At) {
    const unsigned char c_byte = static_cast<unsigned char>(co_Text[i_At]);
    if (c_byte < 0x80) {
        ++i_At;
        return c_byte;
    }
    UChar32 c = 0;
    U8_NEXT(co_Text.data(), i_At, static_cast<int32_t>(co_Text.size()), c);
    return c < 0 ? 0xFFFD : c;
}

// Inside a word only a blank, a stop or a character of a script written without spaces
// matters: passes over what is none of these and has no full stop after it. Below U+0800 the
// only blanks beyond ASCII are U+0085 and U+00A0 (lead byte C2), and no script is written
// without spaces.
int32_t i_PastWord(std::string_view co_Text, int32_t i) {
    const int32_t i_length = static_cast<int32_t>(co_Text.size());
    while (i + 1 < i_length) {
        const unsigned char c_byte = static_cast<unsigned char>(co_Text[i]);
        const unsigned char c_next = static_cast<unsigned char>(co_Text[i + 1]);
        if (c_byte > ' ' && c_byte < 0x80 && c_next != '.') {
            ++i;
        } else if (c_byte >= 0xC3 && c_byte <= 0xDF && (c_next & 0xC0) == 0x80 &&
                   i + 2 < i_length && co_Text[i + 2] != '.') {
            i += 2;
        } else {
            break;
        }
    }
    return i;
}

}  // namespace

// Each full stop between two characters that are not digits is taken out together with them,
// leaving a space; then every run between spaces that holds more than punctuation is a word,
// and a run of a script written without spaces has the words a dictionary cuts it into. Such
// a stop only ends runs, so a run is a piece of co_Text and is read where it stands.
std::size_t CT_WordCount::n_Words(std::string_view co_Text) {
    const int32_t i_length = static_cast<int32_t>(co_Text.size());
    std::size_t n_words = 0;
    int32_t i_start = 0;       // the run's first byte
    bool b_word = false;       // the run holds more than punctuation
    bool b_spaceless = false;  // and a character of a script written without spaces
    const auto v_end_run = [&](int32_t i_End) {
        if (b_spaceless) {
            // Read again as characters, as a byte that is no UTF-8 counts as U+FFFD.
            std::string& s_run = pco_Iterators->s_Run;
            s_run.clear();
            for (int32_t i = i_start; i < i_End;) {
                uint8_t ac_bytes[U8_MAX_LENGTH];
                int32_t i_bytes = 0;
                U8_APPEND_UNSAFE(ac_bytes, i_bytes, c_Next(co_Text, i));
                s_run.append(reinterpret_cast<const char*>(ac_bytes),
                             static_cast<std::size_t>(i_bytes));
            }
            n_words += co_CountPiece(s_run).n_Words;
        } else if (b_word) {
            ++n_words;
        }
        b_word = b_spaceless = false;
    };
    for (int32_t i = 0; i < i_length;) {
        if (b_word) {
            i = i_PastWord(co_Text, i);
        }
        const int32_t i_at = i;
        const unsigned char c_byte = static_cast<unsigned char>(co_Text[i]);
        const UChar32 c = c_byte < 0x80 ? co_Text[i++] : c_Next(co_Text, i);
        int32_t i_past_stop = i;
        const bool b_stop = i + 1 < i_length && co_Text[i] == '.' && !u_isdigit(c) &&
                            !u_isdigit(c_Next(co_Text, ++i_past_stop));
        if (b_stop || b_IsSpace(c)) {
            if (i_at > i_start) {
                v_end_run(i_at);
            }
            i = b_stop ? i_past_stop : i;
            i_start = i;
            continue;
        }
        b_word = b_word || !b_IsPunctuation(c);
        b_spaceless = b_spaceless || b_IsSpaceless(c);
    }
    if (i_length > i_start) {
        v_end_run(i_length);
    }
    return n_words;
}

CT_TextCount CT_WordCount::co_CountPiece(std::string_view co_Piece) {
    if (b_IsAsciiWord(co_Piece)) {
        return CT_TextCount{1, co_Piece.size()};
    }
    std::string& s_piece = pco_Iterators->s_Piece;
    s_piece.assign(co_Piece.data(), co_Piece.size());
    auto& co_remembered = pco_Iterators->co_Remembered;
    const auto co_found = co_remembered.find(s_piece);
    if (co_found != co_remembered.end()) {
        return co_found->second;
    }
    if (co_remembered.size() >= kn_MaxRemembered) {
        co_remembered.clear();
    }
    const CT_TextCount co_count = co_CountWhole(co_Piece);
    co_remembered.emplace(s_piece, co_count);
    return co_count;
}

CT_TextCount CT_WordCount::co_CountWhole(std::string_view co_Text) {
    CT_TextCount co_count;
    icu::BreakIterator* pco_Words = pco_Iterators->pco_Words.get();
    icu::BreakIterator* pco_Characters = pco_Iterators->pco_Characters.get();
    icu::UnicodeString co_text = icu::UnicodeString::fromUTF8(
        icu::StringPiece(co_Text.data(), static_cast<int32_t>(co_Text.size())));

    // A word run is open after a letter or number segment; punctuation inside it (a hyphen, a
    // slash) keeps it open, white space ends it. Two word segments that touch with nothing
    // between were cut by a dictionary or at a change of script: two words.
    pco_Words->setText(co_text);
    bool b_open = false;
    bool b_joined = false;
    int32_t i_start = pco_Words->first();
    for (int32_t i_end = pco_Words->next(); i_end != icu::BreakIterator::DONE;
         i_start = i_end, i_end = pco_Words->next()) {
        int32_t i_status = pco_Words->getRuleStatus();
        if (i_status >= UBRK_WORD_NONE && i_status < UBRK_WORD_NONE_LIMIT) {
            b_joined = b_open && !b_HasSpace(co_text, i_start, i_end);
            b_open = b_joined;
            continue;
        }
        bool b_ideographic = i_status >= UBRK_WORD_KANA && i_status < UBRK_WORD_IDEO_LIMIT;
        if (!(b_open && b_joined) || b_ideographic) {
            ++co_count.n_Words;
        }
        b_open = !b_ideographic;
        b_joined = false;
    }

    pco_Characters->setText(co_text);
    i_start = pco_Characters->first();
    for (int32_t i_end = pco_Characters->next(); i_end != icu::BreakIterator::DONE;
         i_start = i_end, i_end = pco_Characters->next()) {
        if (!u_isUWhiteSpace(co_text.char32At(i_start))) {
            ++co_count.n_Characters;
        }
    }
    return co_count;
}
