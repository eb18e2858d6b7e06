#include "exchange/ct_tagged_token.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {
struct CT_Case {
    std::string s_Content;
    bool b_ReadsBack;
};

class CT_TaggedTokenReadBackTest : public ::testing::TestWithParam<CT_Case> {};

// The XLIFF writer trusts the answer instead of writing a story back to compare: it must say
// yes exactly when writing the tokens gives the content's bytes again.
TEST_P(CT_TaggedTokenReadBackTest, SaysWhetherWritingGivesTheSameBytes) {
    std::vector<CT_TaggedToken> co_tokens;
    const bool b_readsBack = CT_TaggedToken::sb_Read(GetParam().s_Content, co_tokens);
    std::string s_written;
    CT_TaggedToken::sv_Write(co_tokens, s_written);
    EXPECT_EQ(b_readsBack, GetParam().b_ReadsBack);
    EXPECT_EQ(b_readsBack, s_written == GetParam().s_Content) << s_written;
}

INSTANTIATE_TEST_SUITE_P(
    Contents, CT_TaggedTokenReadBackTest,
    ::testing::Values(CT_Case{"", true}, CT_Case{"Plain text\nand lines\n", true},
                      CT_Case{"<g1>bold</g1> <x2/> and \\<, \\> and \\\\\n", true},
                      CT_Case{"a > b\n", false}, CT_Case{"<g1>a</g1>>\n", false},
                      CT_Case{"CR LF\r\nline\n", false}, CT_Case{"lone CR\rline\n", false},
                      // A bare ">" and an escaped one that make up the count of codes.
                      CT_Case{"\\> and > <x1/>\n", false},
                      // Plain runs are read sixteen bytes at a time: what ends them lies past.
                      CT_Case{"a run of more than sixteen bytes\\<tag\\> then <g1>a code</g1>\n",
                              true},
                      CT_Case{"a run of more than sixteen bytes, then\r\n", false}),
    [](const auto& co_Info) { return std::to_string(co_Info.index); });

// What the quick test must agree with: reading and writing back give the same bytes.
bool b_RoundTrips(const std::string& s_Content) {
    std::vector<CT_TaggedToken> co_tokens;
    try {
        CT_TaggedToken::sv_Read(s_Content, co_tokens);
    } catch (const std::invalid_argument&) {
        return false;
    }
    std::string s_written;
    CT_TaggedToken::sv_Write(co_tokens, s_written);
    return s_written == s_Content;
}

TEST(CT_TaggedTokenTest, TellsContentThatReadsAsItIsWritten) {
    for (const char* pc_content : {"", "Sum<g1>mer</g1> sale\n", "a<x2/>b \\<\\>\\\\\n\n",
                                   "no line end", "<g123456789>x</g123456789>"}) {
        EXPECT_TRUE(CT_TaggedToken::sb_ReadsAsWritten(pc_content)) << pc_content;
    }
    for (const char* pc_content : {"a\r\nb", "a\rb", "a > b", "\\x", "trailing \\", "<g01>", "<x1>",
                                   "</x1/>", "<y1/>", "a < b", "<g1234567890>"}) {
        EXPECT_FALSE(CT_TaggedToken::sb_ReadsAsWritten(pc_content)) << pc_content;
    }
}

// Random content of every piece that reads, fails or is written otherwise; reading into tokens
// tells the same of what it reads.
TEST(CT_TaggedTokenTest, ReadsAsWrittenExactlyWhenReadingAndWritingGiveTheSameBytes) {
    const std::vector<std::string> co_pieces = {
        "a",  " ",    "\xC3\xA9", ">",     "\\>",   "\\<",  "\\\\",   "\\x",
        "\\", "<g1>", "</g1>",    "<x2/>", "<g01>", "<x1>", "</x1/>", "<",
        "<g", "\r",   "\n",       "\r\n",  "<g0>",  "/>",   "1"};
    std::mt19937 co_random(11);
    for (int n_case = 0; n_case < 20000; ++n_case) {
        std::string s_content;
        const int n_pieces = 1 + static_cast<int>(co_random() % 8);
        for (int n = 0; n < n_pieces; ++n) {
            s_content += co_pieces[co_random() % co_pieces.size()];
        }
        const bool b_roundTrips = b_RoundTrips(s_content);
        ASSERT_EQ(CT_TaggedToken::sb_ReadsAsWritten(s_content), b_roundTrips)
            << ::testing::PrintToString(s_content);
        std::vector<CT_TaggedToken> co_tokens;
        try {
            ASSERT_EQ(CT_TaggedToken::sb_Read(s_content, co_tokens), b_roundTrips)
                << ::testing::PrintToString(s_content);
        } catch (const std::invalid_argument&) {
        }
    }
}

}  // namespace
