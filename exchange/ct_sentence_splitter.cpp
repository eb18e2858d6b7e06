#include "exchange/ct_sentence_splitter.h"

#include <unicode/brkiter.h>
#include <unicode/filteredbrk.h>
#include <unicode/uchar.h>
#include <unicode/uniset.h>
#include <unicode/utext.h>
#include <unicode/utf8.h>

#include <stdexcept>
#include <string_view>

#include "exchange/ct_icu_locale.h"

namespace {
using et_Token = CT_TaggedToken::et_Kind;

CT_TaggedToken co_Text(std::string_view co_Value) {
    return CT_TaggedToken{et_Token::e_Text, std::string(co_Value), 0};
}

// Whether a cut at i_At follows a forced line break (U+2028, spaces around it aside) with no
// stop before it: a line of a heading or an address ends there, not a sentence.
bool b_LineBreakCut(const std::string& co_Plain, int32_t i_At, const icu::UnicodeSet& co_Stops) {
    int32_t i = i_At;
    UChar32 c = 0;
    bool b_break = false;
    while (i > 0) {
        U8_PREV(co_Plain.data(), 0, i, c);
        if (c == 0x2028) {
            b_break = true;
        } else if (c != ' ' && c != '\t' && c != 0xA0) {
            break;
        }
    }
    return b_break && !co_Stops.contains(c);
}

// Finds the characters of a set in UTF-8 text: a table says which bytes can start one of them,
// and only text at such a byte is decoded and looked up. Sentence ends are few and mostly
// ASCII, so most text passes at the pace of a byte-by-byte scan; text that is not UTF-8 holds
// none of them, as for ICU's own span.
class CT_SetFinder {
  public:
    explicit CT_SetFinder(const icu::UnicodeSet& co_Set) : pco_Set(&co_Set) {
        // A code point's first byte never falls as the code point rises: a range's first
        // bytes are those from its start's to its end's.
        for (int32_t i = 0; i < co_Set.getRangeCount(); ++i) {
            for (unsigned n = n_Lead(co_Set.getRangeStart(i)); n <= n_Lead(co_Set.getRangeEnd(i));
                 ++n) {
                ab_Leads[n] = true;
            }
        }
    }

    // Where the first character of the set at or after n_From starts, and its length in
    // bytes; npos when there is none.
    std::size_t n_Find(std::string_view co_Text, std::size_t n_From, std::size_t& n_Length) const {
        const unsigned char* pc_bytes = reinterpret_cast<const unsigned char*>(co_Text.data());
        const std::size_t n_size = co_Text.size();
        std::size_t n = n_From;
        while (n < n_size) {
            // Four bytes at a time while none of them can start a character of the set.
            if (n + 4 <= n_size && !(ab_Leads[pc_bytes[n]] | ab_Leads[pc_bytes[n + 1]] |
                                     ab_Leads[pc_bytes[n + 2]] | ab_Leads[pc_bytes[n + 3]])) {
                n += 4;
                continue;
            }
            if (!ab_Leads[pc_bytes[n]]) {
                ++n;
                continue;
            }
            int32_t i = static_cast<int32_t>(n);
            UChar32 c = 0;
            U8_NEXT(co_Text.data(), i, static_cast<int32_t>(n_size), c);
            if (c >= 0 && pco_Set->contains(c)) {
                n_Length = static_cast<std::size_t>(i) - n;
                return n;
            }
            ++n;
        }
        return std::string_view::npos;
    }

    bool b_Holds(std::string_view co_Text) const {
        std::size_t n_length = 0;
        return n_Find(co_Text, 0, n_length) != std::string_view::npos;
    }

  private:
    static unsigned n_Lead(UChar32 c) {
        const uint32_t n = static_cast<uint32_t>(c);
        return n < 0x80      ? n
               : n < 0x800   ? 0xC0 | (n >> 6)
               : n < 0x10000 ? 0xE0 | (n >> 12)
                             : 0xF0 | (n >> 18);
    }

    const icu::UnicodeSet* pco_Set;
    bool ab_Leads[256] = {};
};

bool b_EndsInSpace(const std::string& co_Text) {
    int32_t i_end = static_cast<int32_t>(co_Text.size());
    UChar32 c = 0;
    U8_PREV(co_Text.data(), 0, i_end, c);
    return c >= 0 && u_isUWhiteSpace(c);
}

// Moves the white space that ends a sentence out of it, into a piece of its own.
void v_AddSentence(std::vector<CT_TaggedToken>& co_Tokens,
                   std::vector<CT_SentenceSplitter::CT_Piece>& co_Pieces) {
    CT_TaggedToken co_space = co_Text("");
    if (!co_Tokens.empty() && co_Tokens.back().eo_Kind == et_Token::e_Text) {
        std::string& co_text = co_Tokens.back().co_Text;
        int32_t i_end = static_cast<int32_t>(co_text.size());
        while (i_end > 0) {
            int32_t i_before = i_end;
            UChar32 c = 0;
            U8_PREV(co_text.data(), 0, i_before, c);
            if (c < 0 || !u_isUWhiteSpace(c)) {
                break;
            }
            i_end = i_before;
        }
        if (static_cast<std::size_t>(i_end) < co_text.size()) {
            co_space.co_Text = co_text.substr(static_cast<std::size_t>(i_end));
            co_text.resize(static_cast<std::size_t>(i_end));
            if (co_text.empty()) {
                co_Tokens.pop_back();
            }
        }
    }
    if (!co_Tokens.empty()) {
        co_Pieces.push_back({true, std::move(co_Tokens)});
    }
    if (!co_space.co_Text.empty()) {
        co_Pieces.push_back({false, {std::move(co_space)}});
    }
    co_Tokens.clear();
}
}  // namespace

struct CT_SentenceSplitter::ct_Iterator {
    std::unique_ptr<icu::BreakIterator> pco_Sentences;
    // The unit's text as one UTF-8 string, which the iterator reads in place: its offsets
    // are byte offsets, so no text is turned into UTF-16 and back.
    std::string co_Plain;
    UText* pco_Text = nullptr;
    // Whether a sentence can end inside a text: sentences end only after a full stop, a
    // question or exclamation mark (of any script) or a paragraph separator, so text without
    // one is one sentence and needs no break iterator. Most units are headings, captions,
    // cells or short paragraphs: this spares the iterator most of the text.
    icu::UnicodeSet co_Ends;   // what a sentence can end after
    icu::UnicodeSet co_Stops;  // of those, the full stops and question and exclamation marks
    std::unique_ptr<CT_SetFinder> pco_Ends;

    ~ct_Iterator() { utext_close(pco_Text); }
};

CT_SentenceSplitter::CT_SentenceSplitter(const std::string& co_Language)
    : pco_Iterator(new ct_Iterator) {
    const icu::Locale co_locale = CT_IcuLocale::sco_From(co_Language);
    UErrorCode eo_status = U_ZERO_ERROR;
    pco_Iterator->co_Ends.applyPattern(
        icu::UnicodeString(u"[[:SB=STerm:][:SB=ATerm:][:SB=Sep:][:SB=CR:][:SB=LF:]-[\\u2028]]"),
        eo_status);
    pco_Iterator->co_Ends.freeze();
    pco_Iterator->co_Stops.applyPattern(icu::UnicodeString(u"[[:SB=STerm:][:SB=ATerm:]]"),
                                        eo_status);
    pco_Iterator->co_Stops.freeze();
    if (U_FAILURE(eo_status)) {
        throw std::runtime_error(std::string("ICU cannot cut sentences: ") +
                                 u_errorName(eo_status));
    }
    pco_Iterator->pco_Ends = std::make_unique<CT_SetFinder>(pco_Iterator->co_Ends);
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

bool CT_SentenceSplitter::b_OneSentence(const std::vector<CT_TaggedToken>& co_Tokens) const {
    for (const CT_TaggedToken& co_token : co_Tokens) {
        if (co_token.eo_Kind == et_Token::e_Text &&
            pco_Iterator->pco_Ends->b_Holds(co_token.co_Text)) {
            return false;
        }
    }
    return !co_Tokens.empty() && !(co_Tokens.back().eo_Kind == et_Token::e_Text &&
                                   b_EndsInSpace(co_Tokens.back().co_Text));
}

// The byte offsets inside the unit's text where a sentence ends. Without a full stop, question
// or exclamation mark, sentences end only after paragraph separators and line ends (forced
// line breaks are common in layouts), never between CR and LF: no break iterator is needed.
void CT_SentenceSplitter::v_Cut(std::vector<std::size_t>& co_Cuts) {
    const std::string& co_plain = pco_Iterator->co_Plain;
    const int32_t i_length = static_cast<int32_t>(co_plain.size());
    // The ends found are the cuts unless one of them is a stop: then ICU cuts the whole unit.
    std::size_t n_length = 0;
    bool b_stop = false;
    for (std::size_t n = pco_Iterator->pco_Ends->n_Find(co_plain, 0, n_length);
         n != std::string::npos && !b_stop;
         n = pco_Iterator->pco_Ends->n_Find(co_plain, n + n_length, n_length)) {
        int32_t i_after = static_cast<int32_t>(n);
        UChar32 c = 0;
        U8_NEXT(co_plain.data(), i_after, i_length, c);
        b_stop = pco_Iterator->co_Stops.contains(c);
        const std::size_t n_after = static_cast<std::size_t>(i_after);
        const bool b_crlf = c == '\r' && n_after < co_plain.size() && co_plain[n_after] == '\n';
        if (!b_crlf && n_after < co_plain.size()) {
            co_Cuts.push_back(n_after);
        }
    }
    if (!b_stop) {
        return;
    }
    co_Cuts.clear();
    UErrorCode eo_status = U_ZERO_ERROR;
    pco_Iterator->pco_Text = utext_openUTF8(pco_Iterator->pco_Text, co_plain.data(),
                                            static_cast<int64_t>(co_plain.size()), &eo_status);
    icu::BreakIterator& co_iterator = *pco_Iterator->pco_Sentences;
    co_iterator.setText(pco_Iterator->pco_Text, eo_status);
    if (U_FAILURE(eo_status)) {
        throw std::runtime_error(std::string("ICU cannot cut sentences: ") +
                                 u_errorName(eo_status));
    }
    for (int32_t i = co_iterator.next(); i != icu::BreakIterator::DONE && i < i_length;
         i = co_iterator.next()) {
        if (b_LineBreakCut(co_plain, i, pco_Iterator->co_Stops)) {
            continue;
        }
        co_Cuts.push_back(static_cast<std::size_t>(i));
    }
}

std::vector<CT_SentenceSplitter::CT_Piece> CT_SentenceSplitter::co_Split(
    const std::vector<CT_TaggedToken>& co_Tokens) {
    // The text of the unit, and where each text token starts in it.
    std::string& co_plain = pco_Iterator->co_Plain;
    co_plain.clear();
    std::vector<std::size_t> co_starts;
    co_starts.reserve(co_Tokens.size());
    for (const CT_TaggedToken& co_token : co_Tokens) {
        co_starts.push_back(co_plain.size());
        if (co_token.eo_Kind == et_Token::e_Text) {
            co_plain += co_token.co_Text;
        }
    }
    std::vector<std::size_t> co_cuts;
    v_Cut(co_cuts);

    // A cut between two texts waits for the next text, or for a code opening before it:
    // codes that close or stand alone stay with the sentence before.
    std::vector<CT_Piece> co_pieces;
    std::vector<CT_TaggedToken> co_sentence;
    std::size_t n_cut = 0;
    int i_depth = 0;
    auto b_CutAt = [&](std::size_t n_At) {
        return n_cut < co_cuts.size() && co_cuts[n_cut] == n_At;
    };
    for (std::size_t n = 0; n < co_Tokens.size(); ++n) {
        const CT_TaggedToken& co_token = co_Tokens[n];
        const std::size_t n_start = co_starts[n];
        if (co_token.eo_Kind != et_Token::e_Text) {
            if (co_token.eo_Kind == et_Token::e_Open && b_CutAt(n_start)) {
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
        const std::string_view co_text = co_token.co_Text;
        const std::size_t n_end = n_start + co_text.size();
        std::size_t n_from = n_start;
        while (n_cut < co_cuts.size() && co_cuts[n_cut] < n_end) {
            const std::size_t n_at = co_cuts[n_cut++];
            if (n_at < n_start || i_depth != 0) {
                continue;
            }
            if (n_at > n_from) {
                co_sentence.push_back(co_Text(co_text.substr(n_from - n_start, n_at - n_from)));
            }
            v_AddSentence(co_sentence, co_pieces);
            n_from = n_at;
        }
        if (n_end > n_from) {
            co_sentence.push_back(co_Text(co_text.substr(n_from - n_start)));
        }
    }
    v_AddSentence(co_sentence, co_pieces);
    return co_pieces;
}
