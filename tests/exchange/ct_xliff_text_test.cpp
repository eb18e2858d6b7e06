#include "exchange/ct_xliff_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {
// Text is passed eight bytes at a time: a character to escape or to refuse must be found
// wherever it falls in a word, also in the last bytes that fill no word.
class CT_XliffTextCarriedTest : public ::testing::TestWithParam<std::size_t> {};

TEST_P(CT_XliffTextCarriedTest, EscapesAndStopsWhereverTheCharacterFalls) {
    const std::string s_before(GetParam(), 'a');
    for (const std::string& s_refused : {std::string("\x01"), std::string("\xEF\xBF\xBF")}) {
        std::string s_out;
        const std::string s_text = s_before + "<&>\t\xEF\xBC\x81" + s_refused + "after";
        EXPECT_EQ(CT_XliffText::sn_AppendCarried(s_text, s_out), GetParam() + 7);
        EXPECT_EQ(s_out, s_before + "&lt;&amp;&gt;\t\xEF\xBC\x81");
    }
    std::string s_out;
    EXPECT_EQ(CT_XliffText::sn_AppendCarried(s_before + ">", s_out), GetParam() + 1);
    EXPECT_EQ(s_out, s_before + "&gt;");
}

INSTANTIATE_TEST_SUITE_P(Offsets, CT_XliffTextCarriedTest, ::testing::Range<std::size_t>(0, 18));

TEST(CT_XliffTextTest, AttributesKeepWhiteSpaceAndQuotes) {
    std::string s_out;
    CT_XliffText::sv_AppendAttribute("a \"b\"\t<c>&\r\n", s_out);
    EXPECT_EQ(s_out, "a &quot;b&quot;&#9;&lt;c>&amp;&#13;&#10;");
}

}  // namespace
