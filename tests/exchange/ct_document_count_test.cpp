// Counts of whole documents, hand-counted: units with nothing to translate left out, scripts
// without spaces, tabs and codes, and repeats across and inside stories.
#include "exchange/ct_document_count.h"

#include <gtest/gtest.h>

#include <string>

namespace {
struct CT_Case {
    const char* pc_Name;
    std::string s_Story;
    std::size_t n_Words;
    std::size_t n_Characters;
};

void PrintTo(const CT_Case& co_Case, std::ostream* pco_Out) {
    *pco_Out << co_Case.pc_Name;
}

class CT_DocumentCountStoryTest : public ::testing::TestWithParam<CT_Case> {};

TEST_P(CT_DocumentCountStoryTest, CountsWhatIsToBeTranslated) {
    CT_DocumentCount co_count;
    const CT_StoryTally co_story = co_count.co_AddStory(GetParam().s_Story);
    EXPECT_EQ(co_story.co_All, (CT_TextCount{GetParam().n_Words, GetParam().n_Characters}));
    EXPECT_EQ(co_story.co_Repeated, CT_TextCount{});
    EXPECT_EQ(co_count.co_GetTotal().co_All, co_story.co_All);
}

INSTANTIATE_TEST_SUITE_P(
    Stories, CT_DocumentCountStoryTest,
    ::testing::Values(
        // "Tours at a glance" 4 + 14, "Tour" 1 + 4, "3 h" 2 + 2, "12.50 CHF" 2 + 8; a cell of a
        // number alone, an empty cell and a dash are skipped.
        CT_Case{"table",
                "Tours at a glance\n<x1/><x2/>Tour\n<x3/>3 h\n<x4/>45\n<x5/>\n\xE2\x80\x94 \n"
                "12.50 CHF\n",
                9, 28},
        // We / like / coffee and the full stop; the year alone is skipped.
        CT_Case{"Chinese",
                "\xE6\x88\x91\xE4\xBB\xAC\xE5\x96\x9C\xE6\xAC\xA2\xE5\x92\x96\xE5\x95\xA1\xE3\x80"
                "\x82\n<x1/>2024\n",
                3, 7},
        // Day / pass / CHF / 45, Kids / 12 / free: the escaped "<" is a character, no word.
        CT_Case{"tabs separate words", "Day pass\tCHF 45\nKids \\< 12\tfree\n", 7, 23},
        // Object codes take no room in a unit, as a translation tool reads it.
        CT_Case{"codes are not counted",
                "Our <g1>three new</g1> tours<x1/>start<x2/>today.\n<g2></g2>\n", 4, 27},
        CT_Case{"empty story", "\n", 0, 0}),
    [](const auto& co_Info) { return std::to_string(co_Info.index); });
}  // namespace

// Units are the XLIFF file's: a footnote's paragraph is a unit of its own, and the paragraph
// around its anchor reads on across it; line by line "Text2." and "Foot" would run together.
TEST(CT_DocumentCountTest, UnitsAreTheXliffFilesWithTheirAnchorsTakingNoRoom) {
    CT_ExchangeCode co_open;
    co_open.eo_Kind = CT_ExchangeCode::et_Kind::e_FlowOpen;
    co_open.co_Label = "footnote";
    CT_ExchangeCode co_close;
    co_close.eo_Kind = CT_ExchangeCode::et_Kind::e_FlowClose;
    const std::string s_story = "See Text2.<x1/>Foot note\n<x2/> Text3.\n";
    EXPECT_EQ(CT_DocumentCount().co_AddStory(s_story, {{1, co_open}, {2, co_close}}).co_All,
              (CT_TextCount{5, 23}));
    EXPECT_EQ(CT_DocumentCount().co_AddStory(s_story).co_All, (CT_TextCount{4, 23}));
}

// The second time a unit's words come, in any story, whatever the codes and blanks around
// them, they are repeats; the first time they are not.
TEST(CT_DocumentCountTest, RepeatsAreUnitsWithTheWordsOfAnEarlierUnit) {
    CT_DocumentCount co_count;
    const CT_StoryTally co_first = co_count.co_AddStory("Book now!\nPrices<x1/>\n");
    EXPECT_EQ(co_first.co_All, (CT_TextCount{3, 14}));
    EXPECT_EQ(co_first.co_Repeated, CT_TextCount{});
    const CT_StoryTally co_second =
        co_count.co_AddStory("<g1>Book  now!</g1>\nPrices<x4/>\nBook now!\nBook now, today!\n");
    EXPECT_EQ(co_second.co_All, (CT_TextCount{8, 36}));
    EXPECT_EQ(co_second.co_Repeated, (CT_TextCount{5, 22}));
    EXPECT_EQ(co_count.co_GetTotal().co_All, (CT_TextCount{11, 50}));
    EXPECT_EQ(co_count.co_GetTotal().co_Repeated, (CT_TextCount{5, 22}));
}

// Escapes and angle brackets that start no code are text: a unit repeats only with the same.
TEST(CT_DocumentCountTest, RepeatsReadEscapesAndStrayBracketsAsText) {
    CT_DocumentCount co_count;
    const CT_StoryTally co_first = co_count.co_AddStory("Save \\<5\\> \\\\ now <later\n");
    EXPECT_EQ(co_first.co_Repeated, CT_TextCount{});
    const CT_StoryTally co_second =
        co_count.co_AddStory("<g1>Save</g1>  \\<5\\>\t\\\\ now<x1/><later\n");
    EXPECT_EQ(co_second.co_Repeated, co_second.co_All);
    EXPECT_GT(co_second.co_All.n_Words, 0u);
    const CT_StoryTally co_third = co_count.co_AddStory("Save <5> \\\\ now <later\n");
    EXPECT_EQ(co_third.co_Repeated, CT_TextCount{});
}

// Content export would not write (line ends of CR, a bare ">", no line end at the end) is
// still cut at its line ends, and the bare ">" reads as the escaped one.
TEST(CT_DocumentCountTest, CutsContentExportWouldNotWriteAtItsLineEnds) {
    CT_DocumentCount co_count;
    const CT_StoryTally co_first =
        co_count.co_AddStory("Go > on<x1/>\r\nsecond line\rthird <g2>and</g2> last");
    EXPECT_EQ(co_first.co_All, (CT_TextCount{7, 27}));
    EXPECT_EQ(co_first.co_Repeated, CT_TextCount{});
    const CT_StoryTally co_second = co_count.co_AddStory("Go \\> on\nsecond  line\n");
    EXPECT_EQ(co_second.co_Repeated, (CT_TextCount{4, 15}));
    EXPECT_EQ(co_count.co_AddStory("third and last\n").co_Repeated, (CT_TextCount{3, 12}));
}
