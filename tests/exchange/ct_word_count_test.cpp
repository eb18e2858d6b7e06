#include "exchange/ct_word_count.h"

#include <gtest/gtest.h>

#include <string>

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
}

INSTANTIATE_TEST_SUITE_P(
    Latin, CT_WordCountTaggedTest,
    ::testing::Values(
        ct_Case{"empty", "", 0, 0}, ct_Case{"spaces and line ends", "  \t\n\r\n ", 0, 0},
        ct_Case{"sentence", "Summer sale, today only!", 4, 21},
        ct_Case{"hyphen apostrophe and decimals join", "A well-known shop's 3.5 offers", 5, 26},
        ct_Case{"punctuation alone is no word", "Price - 5 \xE2\x80\x94 (now) ...", 3, 16},
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
                      ct_Case{"a stray angle bracket is text", "x < y <gz>", 3, 7}),
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
        ct_Case{"combining mark and emoji", "Cafe\xCC\x81 \xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD", 1, 5}),
    [](const auto& co_Info) { return std::to_string(co_Info.index); });

TEST(CT_WordCountTest, CountsPlainTextWithoutReadingCodes) {
    CT_WordCount co_counter("en-US");
    EXPECT_EQ(co_counter.co_CountText("<g1>x</g1>"), (CT_TextCount{1, 10}));
    EXPECT_EQ(co_counter.co_CountText("\\<"), (CT_TextCount{0, 2}));
}

}  // namespace
