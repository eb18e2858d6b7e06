#include "exchange/ct_word_count.h"

#include <unicode/brkiter.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <stdexcept>

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
std::string co_PlainOf(std::string_view co_Content) {
    std::string co_plain;
    co_plain.reserve(co_Content.size());
    std::size_t n = 0;
    while (n < co_Content.size()) {
        char c = co_Content[n];
        if (c == '\\' && n + 1 < co_Content.size() &&
            (co_Content[n + 1] == '\\' || co_Content[n + 1] == '<' || co_Content[n + 1] == '>')) {
            co_plain.push_back(co_Content[n + 1]);
            n += 2;
            continue;
        }
        if (c == '<') {
            std::size_t n_at = n + 1;
            bool b_close = n_at < co_Content.size() && co_Content[n_at] == '/';
            n_at += b_close ? 1 : 0;
            char c_kind = n_at < co_Content.size() ? co_Content[n_at] : '\0';
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
                co_plain.push_back(' ');
                n = n_digits + 2;
                continue;
            }
        }
        co_plain.push_back(c);
        ++n;
    }
    return co_plain;
}

}  // namespace

struct CT_WordCount::ct_Iterators {
    std::unique_ptr<icu::BreakIterator> pco_Words;
    std::unique_ptr<icu::BreakIterator> pco_Characters;
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

CT_TextCount CT_WordCount::co_CountText(std::string_view co_Text) {
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
