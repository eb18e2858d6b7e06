#include "exchange/ct_sentence_splitter.h"

#include <unicode/brkiter.h>
#include <unicode/filteredbrk.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <stdexcept>

#include "exchange/ct_icu_locale.h"

namespace {
using et_Token = CT_TaggedToken::et_Kind;

icu::UnicodeString co_Utf16(const std::string& co_Text) {
    return icu::UnicodeString::fromUTF8(
        icu::StringPiece(co_Text.data(), static_cast<int32_t>(co_Text.size())));
}

std::string co_Utf8(const icu::UnicodeString& co_Text) {
    std::string co_out;
    co_Text.toUTF8String(co_out);
    return co_out;
}

CT_TaggedToken co_Text(std::string co_Value) {
    return CT_TaggedToken{et_Token::e_Text, std::move(co_Value), 0};
}

// Moves the white space that ends a sentence out of it, into a piece of its own.
void v_AddSentence(std::vector<CT_TaggedToken>& co_Tokens,
                   std::vector<CT_SentenceSplitter::CT_Piece>& co_Pieces) {
    CT_TaggedToken co_space = co_Text("");
    if (!co_Tokens.empty() && co_Tokens.back().eo_Kind == et_Token::e_Text) {
        icu::UnicodeString co_text = co_Utf16(co_Tokens.back().co_Text);
        int32_t i_end = co_text.length();
        while (i_end > 0 && u_isUWhiteSpace(co_text.char32At(co_text.moveIndex32(i_end, -1)))) {
            i_end = co_text.moveIndex32(i_end, -1);
        }
        if (i_end < co_text.length()) {
            co_space.co_Text = co_Utf8(co_text.tempSubString(i_end));
            co_Tokens.back().co_Text = co_Utf8(co_text.tempSubString(0, i_end));
            if (co_Tokens.back().co_Text.empty()) {
                co_Tokens.pop_back();
            }
        }
    }
    if (!co_Tokens.empty()) {
        co_Pieces.push_back({true, std::move(co_Tokens)});
    }
    if (!co_space.co_Text.empty()) {
        co_Pieces.push_back({false, {co_space}});
    }
    co_Tokens.clear();
}
}  // namespace

struct CT_SentenceSplitter::ct_Iterator {
    std::unique_ptr<icu::BreakIterator> pco_Sentences;
};

CT_SentenceSplitter::CT_SentenceSplitter(const std::string& co_Language)
    : pco_Iterator(new ct_Iterator) {
    const icu::Locale co_locale = CT_IcuLocale::sco_From(co_Language);
    UErrorCode eo_status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> pco_plain(
        icu::BreakIterator::createSentenceInstance(co_locale, eo_status));
    if (U_FAILURE(eo_status) || !pco_plain) {
        throw std::runtime_error(std::string("ICU cannot cut sentences: ") +
                                 u_errorName(eo_status));
    }
    // The locale's abbreviations, where ICU has a list for it; without one the plain rules.
    std::unique_ptr<icu::FilteredBreakIteratorBuilder> pco_builder(
        icu::FilteredBreakIteratorBuilder::createInstance(co_locale, eo_status));
    if (U_SUCCESS(eo_status) && pco_builder) {
        icu::BreakIterator* pco_filtered =
            pco_builder->wrapIteratorWithFilter(pco_plain.release(), eo_status);
        pco_Iterator->pco_Sentences.reset(pco_filtered);
    }
    if (U_FAILURE(eo_status) || !pco_Iterator->pco_Sentences) {
        eo_status = U_ZERO_ERROR;
        pco_Iterator->pco_Sentences.reset(
            icu::BreakIterator::createSentenceInstance(co_locale, eo_status));
    }
}

CT_SentenceSplitter::~CT_SentenceSplitter() = default;

std::vector<CT_SentenceSplitter::CT_Piece> CT_SentenceSplitter::co_Split(
    const std::vector<CT_TaggedToken>& co_Tokens) {
    // The text of the unit, and where each text token starts in it.
    icu::UnicodeString co_plain;
    std::vector<int32_t> co_starts;
    for (const CT_TaggedToken& co_token : co_Tokens) {
        co_starts.push_back(co_plain.length());
        if (co_token.eo_Kind == et_Token::e_Text) {
            co_plain += co_Utf16(co_token.co_Text);
        }
    }
    icu::BreakIterator& co_iterator = *pco_Iterator->pco_Sentences;
    co_iterator.setText(co_plain);
    std::vector<int32_t> co_cuts;
    for (int32_t i = co_iterator.next(); i != icu::BreakIterator::DONE && i < co_plain.length();
         i = co_iterator.next()) {
        co_cuts.push_back(i);
    }

    // A cut between two texts waits for the next text, or for a code opening before it:
    // codes that close or stand alone stay with the sentence before.
    std::vector<CT_Piece> co_pieces;
    std::vector<CT_TaggedToken> co_sentence;
    std::size_t n_cut = 0;
    int i_depth = 0;
    auto b_CutAt = [&](int32_t i_At) { return n_cut < co_cuts.size() && co_cuts[n_cut] == i_At; };
    for (std::size_t n = 0; n < co_Tokens.size(); ++n) {
        const CT_TaggedToken& co_token = co_Tokens[n];
        const int32_t i_start = co_starts[n];
        if (co_token.eo_Kind != et_Token::e_Text) {
            if (co_token.eo_Kind == et_Token::e_Open && b_CutAt(i_start)) {
                if (i_depth == 0) {
                    v_AddSentence(co_sentence, co_pieces);
                }
                ++n_cut;
            }
            i_depth += co_token.eo_Kind == et_Token::e_Open    ? 1
                       : co_token.eo_Kind == et_Token::e_Close ? -1
                                                               : 0;
            co_sentence.push_back(co_token);
            continue;
        }
        const icu::UnicodeString co_text = co_Utf16(co_token.co_Text);
        const int32_t i_end = i_start + co_text.length();
        int32_t i_from = i_start;
        while (n_cut < co_cuts.size() && co_cuts[n_cut] < i_end) {
            const int32_t i_at = co_cuts[n_cut++];
            if (i_at < i_start || i_depth != 0) {
                continue;
            }
            if (i_at > i_from) {
                co_sentence.push_back(
                    co_Text(co_Utf8(co_text.tempSubString(i_from - i_start, i_at - i_from))));
            }
            v_AddSentence(co_sentence, co_pieces);
            i_from = i_at;
        }
        if (i_end > i_from) {
            co_sentence.push_back(co_Text(co_Utf8(co_text.tempSubString(i_from - i_start))));
        }
    }
    v_AddSentence(co_sentence, co_pieces);
    return co_pieces;
}
