// Strict UTF-8: which byte sequences are characters, what a reader that goes on makes of the
// others, and cutting text to a number of UTF-16 units or terminal columns.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/common/ct_parallel_utf8.h"
#include "platform/common/ct_utf8.h"

namespace {

struct CT_Sequence {
    const char* pc_Name;
    std::string s_Bytes;
    std::u32string co_Read;  // what sc_Next reads, bad bytes as U+FFFD each
};

class Utf8Reading : public ::testing::TestWithParam<CT_Sequence> {};

TEST_P(Utf8Reading, OnlyShortestFormsOfScalarValuesAreCharacters) {
    const CT_Sequence& co_Case = GetParam();
    std::u32string co_Read;
    std::size_t n_FirstBad = std::string_view::npos;
    for (std::size_t n_At = 0; n_At < co_Case.s_Bytes.size();) {
        const std::size_t n_Start = n_At;
        co_Read.push_back(CT_Utf8::sc_Next(co_Case.s_Bytes, n_At));
        if (co_Read.back() == CT_Utf8::sc_Replacement && n_FirstBad == std::string_view::npos &&
            CT_Utf8::sn_SequenceLength(co_Case.s_Bytes, n_Start) == 0) {
            n_FirstBad = n_Start;
        }
    }
    EXPECT_EQ(co_Read, co_Case.co_Read);
    const bool b_Valid = co_Read.find(CT_Utf8::sc_Replacement) == std::u32string::npos;
    EXPECT_EQ(CT_Utf8::sb_IsValid(co_Case.s_Bytes), b_Valid);
    // Also behind runs of ASCII passed eight bytes at a time, ending anywhere among eight, and
    // with ASCII after it.
    const std::string s_Behind = std::string(13, 'a') + co_Case.s_Bytes;
    EXPECT_EQ(CT_Utf8::sn_FirstInvalid(co_Case.s_Bytes), n_FirstBad);
    for (std::size_t n_Run = 0; n_Run < 17; ++n_Run) {
        EXPECT_EQ(CT_Utf8::sn_FirstInvalid(std::string(n_Run, 'a') + co_Case.s_Bytes + "bbbbbbbb"),
                  n_FirstBad == std::string_view::npos ? n_FirstBad : n_FirstBad + n_Run)
            << n_Run;
    }
    // Checked in pieces on threads, every cut through the sequences included, the same.
    for (const std::size_t n_Piece : {1, 2, 3, 5, 14}) {
        EXPECT_EQ(CT_ParallelUtf8::sn_FirstInvalid(co_Case.s_Bytes + s_Behind, 3, n_Piece),
                  n_FirstBad)
            << n_Piece;
    }
    EXPECT_EQ(CT_Utf8::sn_Columns(co_Case.s_Bytes), co_Case.co_Read.size());
    if (b_Valid) {
        // Counted eight bytes at a time behind the ASCII run.
        EXPECT_EQ(CT_Utf8::sn_CodePoints(co_Case.s_Bytes), co_Read.size());
        EXPECT_EQ(CT_Utf8::sn_CodePoints(s_Behind + s_Behind), 2 * (13 + co_Read.size()));
    }
    if (b_Valid) {
        std::string s_Again;
        for (char32_t c_Point : co_Read) {
            CT_Utf8::sv_Append(s_Again, c_Point);
        }
        EXPECT_EQ(s_Again, co_Case.s_Bytes);
    }
}

const char32_t R = CT_Utf8::sc_Replacement;
INSTANTIATE_TEST_SUITE_P(
    Sequences, Utf8Reading,
    ::testing::Values(
        CT_Sequence{"ascii", "Ab", {U'A', U'b'}},
        CT_Sequence{"each_length", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", {0xE9, 0x20AC, 0x1F600}},
        CT_Sequence{"highest", "\xF4\x8F\xBF\xBF", {0x10FFFF}},
        CT_Sequence{"overlong_two", "\xC0\xAF", {R, R}},
        CT_Sequence{"overlong_three", "\xE0\x80\xAF", {R, R, R}},
        CT_Sequence{"overlong_four", "\xF0\x8F\xBF\xBF", {R, R, R, R}},
        CT_Sequence{"surrogate", "\xED\xA0\x80", {R, R, R}},
        CT_Sequence{"past_10FFFF", "\xF4\x90\x80\x80", {R, R, R, R}},
        CT_Sequence{"lead_F5", "\xF5\x80", {R, R}},
        CT_Sequence{"cut_short", "a\xE2\x82", {U'a', R, R}},
        CT_Sequence{"lone_continuation", "\x80z", {R, U'z'}},
        CT_Sequence{"two_cut_at_end", "\xC3", {R}},
        CT_Sequence{"three_without_continuation", "\xE4\x41\x80", {R, U'A', R}},
        CT_Sequence{"three_cut_at_end", "\xE4\xB8", {R, R}},
        CT_Sequence{"below_surrogates", "\xED\x9F\xBF", {0xD7FF}}),
    [](const ::testing::TestParamInfo<CT_Sequence>& co_Info) { return co_Info.param.pc_Name; });

TEST(Utf8, Utf16OutputStopsBeforeAPairThatDoesNotFit) {
    const std::string s_Text =
        "A\xF0\x9F\x98\x80"
        "B";
    char16_t auz_Out[4] = {};
    bool b_Cut = false;
    for (std::size_t n_Room = 0; n_Room <= 4; ++n_Room) {
        SCOPED_TRACE(n_Room);
        const std::size_t n_Units = CT_Utf8::sn_ToUtf16(s_Text, auz_Out, n_Room, b_Cut);
        const std::size_t n_Expected = n_Room < 1 ? 0 : n_Room < 3 ? 1 : n_Room < 4 ? 3 : 4;
        EXPECT_EQ(n_Units, n_Expected);
        EXPECT_EQ(b_Cut, n_Room < 4);
    }
    EXPECT_EQ(std::u16string(auz_Out, 4), u"A\U0001F600B");
}

TEST(Utf8, ColumnsAreCutBetweenCharacters) {
    const std::string s_Text = "\xC3\xA9t\xC3\xA9";
    EXPECT_EQ(CT_Utf8::so_FirstColumns(s_Text, 1), "\xC3\xA9");
    EXPECT_EQ(CT_Utf8::so_FirstColumns(s_Text, 2), "\xC3\xA9t");
    EXPECT_EQ(CT_Utf8::so_FirstColumns(s_Text, 9), s_Text);
}

}  // namespace
