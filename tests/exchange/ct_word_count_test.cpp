#include "exchange/ct_word_count.h"

#include <gtest/gtest.h>
#include <unicode/brkiter.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

struct ct_Case {
    const char* pc_Name;
    std::string co_Content;
    std::size_t n_Words;
    std::size_t n_Characters;
};

void PrintTo(const ct_Case& co_Case, std::ostream* pco_Out) {
    *pco_Out << co_Case.pc_Name;
}

class CT_WordCountTaggedTest : public ::testing::TestWithParam<ct_Case> {};

TEST_P(CT_WordCountTaggedTest, CountsWordsAndCharacters) {
    CT_WordCount co_counter;
    CT_TextCount co_count = co_counter.co_CountTagged(GetParam().co_Content);
    EXPECT_EQ(co_count.n_Words, GetParam().n_Words);
    EXPECT_EQ(co_count.n_Characters, GetParam().n_Characters);
    EXPECT_EQ(co_counter.n_CountTaggedCharacters(GetParam().co_Content), GetParam().n_Characters);
}

INSTANTIATE_TEST_SUITE_P(
    Latin, CT_WordCountTaggedTest,
    ::testing::Values(
        ct_Case{"empty", "", 0, 0}, ct_Case{"spaces and line ends", "  \t\n\r\n ", 0, 0},
        ct_Case{"sentence", "Summer sale, today only!", 4, 21},
        ct_Case{"hyphen apostrophe and decimals join", "A well-known shop's 3.5 offers", 5, 26},
        ct_Case{"common punctuation alone is no word, a dash is",
                "Price - 5 \xE2\x80\x94 (now) ...", 4, 16},
        ct_Case{"ampersand, bullet and equals sign are words", "R & D \xE2\x80\xA2 a = b", 7, 7},
        ct_Case{"a full stop between letters parts words", "www.adobe.com left.Right 3.5", 6, 26},
        ct_Case{"line ends separate paragraphs", "one\ntwo\r\nthree", 3, 11},
        ct_Case{"non-breaking space separates", "10\xC2\xA0km", 2, 4}),
    [](const auto& co_Info) { return std::to_string(co_Info.index); });

INSTANTIATE_TEST_SUITE_P(
    Codes, CT_WordCountTaggedTest,
    ::testing::Values(ct_Case{"paired codes join and are not counted",
                              "Sum<g1>mer</g12> <g2>sale</g2>", 2, 10},
                      ct_Case{"object codes separate", "Price<x3/>5<x4/><x5/>", 2, 6},
                      ct_Case{"only codes", "<x1/><g2></g2>", 0, 0},
                      ct_Case{"escapes count as their characters", "a \\<b\\> c\\\\d", 3, 7},
                      ct_Case{"a stray angle bracket is text", "x < y <gz>", 3, 7},
                      ct_Case{"so is one at the end", "x <", 1, 2},
                      ct_Case{"or a closing one", "x </", 1, 3}),
    [](const auto& co_Info) { return std::to_string(co_Info.index); });

// A full stop between two characters that are not digits takes them with it, wherever they
// stand: inside a word, after a space, beside another stop or a byte that is no UTF-8.
INSTANTIATE_TEST_SUITE_P(
    FullStops, CT_WordCountTaggedTest,
    ::testing::Values(ct_Case{"stops in a row", "a.b.c", 1, 5},
                      ct_Case{"a stop after a space", " .x y", 1, 3},
                      ct_Case{"digits keep their stop", "e.g. 1.a a.1 ...", 2, 13},
                      ct_Case{"around a run without spaces", "end.\xE6\x88\x91\xE4\xBB\xAC.x", 1,
                              8},
                      ct_Case{"between Greek letters", "\xCE\xB1.\xCE\xB2 \xCE\xB3", 1, 4},
                      ct_Case{"after a byte that is no UTF-8", "x\xFF.y", 1, 4},
                      ct_Case{"quotes, brackets and dashes alone", "\"quoted\" (x) -- ;", 2, 14}),
    [](const auto& co_Info) { return std::to_string(co_Info.index); });

// Chinese and Japanese are cut by dictionary; Korean counts by its space-separated words;
// Thai by dictionary too. Characters are grapheme clusters: a base with its combining mark or
// an emoji with its modifier is one.
INSTANTIATE_TEST_SUITE_P(
    Scripts, CT_WordCountTaggedTest,
    ::testing::Values(
        ct_Case{"Chinese",
                "\xE6\x88\x91\xE4\xBB\xAC\xE5\x96\x9C\xE6\xAC\xA2\xE5\x92\x96\xE5\x95\xA1", 3, 6},
        ct_Case{"Korean", "\xEC\x97\xAC\xEB\xA6\x84 \xED\x95\xA0\xEC\x9D\xB8", 2, 4},
        ct_Case{"Thai",
                "\xE0\xB8\xAA\xE0\xB8\xA7\xE0\xB8\xB1\xE0\xB8\xAA\xE0\xB8\x94\xE0\xB8\xB5"
                "\xE0\xB8\x84\xE0\xB8\xA3\xE0\xB8\xB1\xE0\xB8\x9A",
                2, 7},
        ct_Case{"combining mark and emoji", "Cafe\xCC\x81 \xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD", 2, 5}),
    [](const auto& co_Info) { return std::to_string(co_Info.index); });

TEST(CT_WordCountTest, CountsPlainTextWithoutReadingCodes) {
    CT_WordCount co_counter("en-US");
    EXPECT_EQ(co_counter.co_CountText("<g1>x</g1>"), (CT_TextCount{1, 10}));
    EXPECT_EQ(co_counter.co_CountText("\\<"), (CT_TextCount{0, 2}));
}

// The characters of the whole text by ICU's iterator at once: what the counter, which counts
// piece by piece and remembers pieces, must give.
std::size_t n_CharactersAtOnce(const std::string& s_Text) {
    UErrorCode eo_status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> pco_characters(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), eo_status));
    const icu::UnicodeString co_text = icu::UnicodeString::fromUTF8(s_Text);
    std::size_t n_characters = 0;
    pco_characters->setText(co_text);
    int32_t i_start = pco_characters->first();
    for (int32_t i_end = pco_characters->next(); i_end != icu::BreakIterator::DONE;
         i_start = i_end, i_end = pco_characters->next()) {
        n_characters += u_isUWhiteSpace(co_text.char32At(i_start)) ? 0 : 1;
    }
    return n_characters;
}

// Marks, joiners, format and prefix characters beside blanks, words of every script, blanks of
// every kind: random texts of them count the same characters piece by piece, with pieces
// remembered from earlier texts, as at once.
TEST(CT_WordCountTest, CountsPieceByPieceAsTheWholeTextAtOnce) {
    const std::vector<std::string> co_parts = {
        "a",
        "Z",
        "9",
        "word",
        "3.5",
        " ",
        "  ",
        "\t",
        "\r",
        "\v",
        "-",
        ".",
        "'",
        ",",
        "_",
        "__",
        ":",
        "\xC3\xA9",                  // e acute
        "\xCC\x81",                  // combining acute
        "\xD8\x80",                  // Arabic number sign, a prefix
        "\xE0\xA4\x95\xE0\xA4\xBF",  // Devanagari ka with its vowel sign
        "\xE0\xA4\xBF",              // the vowel sign alone, a spacing mark
        "\xE2\x80\x8D",              // zero width joiner
        "\xC2\xAD",                  // soft hyphen, a format character
        "\xC2\xA0",                  // no-break space
        "\xE3\x80\x80",              // ideographic space
        "\xE6\x96\x87\xE6\x9B\xB8",
        "\xE9\xA1\xB5\xE9\x9D\xA2",                          // Chinese
        "\xE3\x82\xAB\xE3\x82\xBF",                          // katakana
        "\xE0\xB8\xAA\xE0\xB8\xA7\xE0\xB8\xB1\xE0\xB8\xAA",  // Thai
        "\xEC\x97\xAC\xEB\xA6\x84",                          // Hangul
        "\xF0\x9F\x91\x8D",
        "\xF0\x9F\x8F\xBD",                          // emoji, skin tone
        "\xF0\x9F\x87\xAB\xF0\x9F\x87\xB7",          // a flag
        "\xD0\xBA\xD0\xBD\xD0\xB8\xD0\xB3\xD0\xB0",  // Cyrillic
        "\xFF",
        "\xE6\x96"};  // not UTF-8
    std::mt19937 co_random(14);
    CT_WordCount co_counter;
    for (int n_text = 0; n_text < 3000; ++n_text) {
        std::string s_text;
        const int n_parts = 1 + static_cast<int>(co_random() % 10);
        for (int n = 0; n < n_parts; ++n) {
            s_text += co_parts[co_random() % co_parts.size()];
        }
        ASSERT_EQ(co_counter.co_CountText(s_text).n_Characters, n_CharactersAtOnce(s_text))
            << ::testing::PrintToString(s_text);
    }
}

}  // namespace
