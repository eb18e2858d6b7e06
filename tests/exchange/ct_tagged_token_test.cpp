#include "exchange/ct_tagged_token.h"

#include <gtest/gtest.h>

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
                      CT_Case{"\\> and > <x1/>\n", false}),
    [](const auto& co_Info) { return std::to_string(co_Info.index); });

}  // namespace
