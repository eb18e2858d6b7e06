#include "exchange/ct_tagged_token.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {
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

// Both quick answers agree with reading and writing back: true exactly when the bytes come back.
bool b_Agrees(const std::string& s_Content) {
    const bool b_roundTrips = b_RoundTrips(s_Content);
    EXPECT_EQ(CT_TaggedToken::sb_ReadsAsWritten(s_Content), b_roundTrips);
    std::vector<CT_TaggedToken> co_tokens;
    bool b_read = false;
    try {
        b_read = CT_TaggedToken::sb_Read(s_Content, co_tokens);
    } catch (const std::invalid_argument&) {
    }
    EXPECT_EQ(b_read, b_roundTrips);
    return b_roundTrips;
}

// The XLIFF writer trusts these answers instead of writing a story back to compare. Plain runs
// are read sixteen bytes at a time: what ends them lies past the first sixteen. Random content
// of every piece that reads, fails or is written otherwise follows the literal cases.
TEST(CT_TaggedTokenTest, ReadsAsWrittenExactlyWhenReadingAndWritingGiveTheSameBytes) {
    for (const char* pc_content :
         {"", "Sum<g1>mer</g1> sale\n", "a<x2/>b \\<\\>\\\\\n\n", "no line end",
          "<g123456789>x</g123456789>",
          "a run of more than sixteen bytes\\<tag\\> then <g1>a code</g1>\n"}) {
        SCOPED_TRACE(::testing::PrintToString(pc_content));
        EXPECT_TRUE(b_Agrees(pc_content));
    }
    for (const char* pc_content : {"a\r\nb", "a\rb", "a > b", "\\x", "trailing \\", "<g01>", "<x1>",
                                   "</x1/>", "<y1/>", "a < b", "<g1234567890>", "\\> and > <x1/>\n",
                                   "a run of more than sixteen bytes, then\r\n"}) {
        SCOPED_TRACE(::testing::PrintToString(pc_content));
        EXPECT_FALSE(b_Agrees(pc_content));
    }
    const std::vector<std::string> co_pieces = {
        "a",  " ",    "\xC3\xA9", ">",     "\\>",   "\\<",  "\\\\",   "\\x",
        "\\", "<g1>", "</g1>",    "<x2/>", "<g01>", "<x1>", "</x1/>", "<",
        "<g", "\r",   "\n",       "\r\n",  "<g0>",  "/>",   "1"};
    std::mt19937 co_random(11);
    for (int n_case = 0; n_case < 20000 && !HasFailure(); ++n_case) {
        std::string s_content;
        const int n_pieces = 1 + static_cast<int>(co_random() % 8);
        for (int n = 0; n < n_pieces; ++n) {
            s_content += co_pieces[co_random() % co_pieces.size()];
        }
        SCOPED_TRACE(::testing::PrintToString(s_content));
        b_Agrees(s_content);
    }
}

}  // namespace
