// XLIFF out and back in without a translation tool between, every target marked done: laid
// over the document it came from, every story comes back byte for byte from the targets,
// whatever its structure, codes, white space and characters, and nothing is found.
#include <gtest/gtest.h>

#include <string>

#include "exchange/ct_xliff_placement.h"
#include "exchange/ct_xliff_reader.h"
#include "exchange/ct_xliff_writer.h"

namespace {
using et_Kind = CT_ExchangeCode::et_Kind;
using et_Pair = CT_ExchangeCode::et_Pair;

CT_ExchangeCode co_Code(et_Kind eo_Kind, const char* pc_Label = "", unsigned n_Row = 0,
                        unsigned n_Column = 0) {
    CT_ExchangeCode co_code;
    co_code.eo_Kind = eo_Kind;
    co_code.co_Label = pc_Label;
    co_code.n_Row = n_Row;
    co_code.n_Column = n_Column;
    return co_code;
}

CT_ExchangeCode co_Run(const char* pc_Look, bool b_AsParagraph = false) {
    CT_ExchangeCode co_code;
    co_code.co_Ctype = "italic";
    co_code.co_Look = pc_Look;
    co_code.b_LooksAsParagraph = b_AsParagraph;
    return co_code;
}

CT_ExchangeCode co_Pair(CT_ExchangeCode::et_Pair eo_Pair, unsigned n_Partner = 0) {
    CT_ExchangeCode co_code;
    co_code.co_Ctype = eo_Pair == CT_ExchangeCode::et_Pair::e_Open ? "link" : "";
    co_code.eo_Pair = eo_Pair;
    co_code.n_Partner = n_Partner;
    return co_code;
}

// Codes 1-2: a footnote; 3-7: a table of two cells; 8: a formatting run; 10: a note around
// its text; 11-14 formatting runs: 12 looks as 11 (it differs in tracking only), 13 does not,
// 14 looks as its paragraph; 20-21 a hyperlink, 22-23 an XML element, as two codes each.
const CT_StoryLayout::CT_Codes gco_Codes = {
    {10, co_Code(et_Kind::e_FlowAround, "note")},
    {1, co_Code(et_Kind::e_FlowOpen, "footnote")},
    {2, co_Code(et_Kind::e_FlowClose)},
    {3, co_Code(et_Kind::e_TableOpen)},
    {4, co_Code(et_Kind::e_Cell, "", 1, 1)},
    {5, co_Code(et_Kind::e_Cell, "", 1, 2)},
    {7, co_Code(et_Kind::e_TableClose)},
    {11, co_Run("Italic")},
    {12, co_Run("Italic")},
    {13, co_Run("Emphasis")},
    {14, co_Run("Plain", true)},
    {20, co_Pair(et_Pair::e_Open)},
    {21, co_Pair(et_Pair::e_Close, 20)},
    {22, co_Pair(et_Pair::e_Open)},
    {23, co_Pair(et_Pair::e_Close, 22)},
};

// Runs that look alike, a hyperlink, an XML element over two paragraphs, a forced line break.
const std::string gs_Runs =
    "<g8>Go</g8> <g11>far</g11><g12>away</g12><g13>now</g13> <x20/>link<x21/> <x22/>start\n"
    "end<x23/> <g14>plain</g14> a\xE2\x80\xA8line.\n";

std::string s_Export(const std::string& s_Content, bool b_Targets = true, bool b_AllCodes = false) {
    CT_XliffWriter co_writer({"doc.idml", "en-US", "fr-FR", b_Targets, b_AllCodes});
    co_writer.v_AddStory("u1", "P1", s_Content, gco_Codes);
    co_writer.v_AddStory("u2", "B", "Second story.\n", {});
    return co_writer.s_Finish();
}

// The stories of the file laid over the document of the two stories exported, every unit
// marked final so that its target, not the document, gives the text.
std::vector<CT_TaggedStory> co_Back(std::string s_File, const std::string& s_Content) {
    for (std::size_t n_at = 0;
         (n_at = s_File.find("needs-translation", n_at)) != std::string::npos;) {
        s_File.replace(n_at, 17, "final");
    }
    const CT_XliffReader co_reader(s_File);
    std::vector<CT_XliffFinding> co_findings;
    const std::vector<CT_TaggedStory> co_stories = CT_XliffPlacement::sco_PlaceAll(
        co_reader,
        [&](const std::string& s_Key, std::vector<CT_StoryLayout>& co_Layouts) {
            co_Layouts.emplace_back(s_Key == "u1" ? s_Content : "Second story.\n",
                                    s_Key == "u1" ? gco_Codes : CT_StoryLayout::CT_Codes());
            return true;
        },
        co_findings);
    EXPECT_TRUE(co_findings.empty()) << co_findings[0].co_Text("doc.xlf");
    return co_stories;
}

class CT_XliffRoundTripTest : public ::testing::TestWithParam<std::string> {};

TEST_P(CT_XliffRoundTripTest, StoriesComeBackByteForByte) {
    const std::vector<CT_TaggedStory> co_stories = co_Back(s_Export(GetParam()), GetParam());
    ASSERT_EQ(co_stories.size(), 2u);
    EXPECT_EQ(co_stories[0].co_Key, "u1");
    // A last paragraph without its line end gets one.
    EXPECT_EQ(co_stories[0].co_Content, GetParam().back() == '\n' ? GetParam() : GetParam() + "\n");
    EXPECT_EQ(co_stories[1].co_Content, "Second story.\n");
    EXPECT_EQ(CT_XliffReader(s_Export(GetParam(), false)).cco_Files()[0].co_Original, "doc.idml");
}

INSTANTIATE_TEST_SUITE_P(
    Contents, CT_XliffRoundTripTest,
    ::testing::Values("\n", "One. Two sentences.\n\nA third paragraph after an empty one.\n\n",
                      "Sum<g8>mer <g9>sale</g9></g8> today<x6/>.\n",
                      "Escapes \\<b\\> and \\\\ and & \" ' kept.\n",
                      "  Leading, inner\ttabs,   runs and trailing spaces.  \n",
                      "A note<x1/>Its text. Two sentences.\nA second paragraph.\n<x2/> after it.\n",
                      "Table: <x3/><x4/>cell one\n<x5/>\n<x7/>\nend.\n",
                      "Control \x01 and \xEF\xBF\xBE characters\x1F kept.\n",
                      "Chinese \xE4\xB8\xAD\xE6\x96\x87\xE3\x80\x82 Unicode \xF0\x9F\x91\x8D.\n",
                      "Codes out of order <g1>a</g2> stay codes.\n",
                      "A note<g10>Its text. Two.\nSecond paragraph.\n</g10> after it.\n",
                      "A note without its line end <g10>stays inline</g10>.\n",
                      "A note in a footnote<x1/>Foot<g10>note\n</g10>.\n<x2/>\n",
                      "<x1/>no line end, and a stray code",
                      "Price:\n5.88 \xE2\x82\xAC\n\xD9\xA3\n<x6/>\n", gs_Runs),
    [](const auto& co_Info) { return std::to_string(co_Info.index); });

// A note is a unit of its own, as a footnote is: its paragraph shows it as an object code.
TEST(CT_XliffRoundTripTest, ANoteIsAUnitOfItsOwn) {
    const std::string s_xliff = s_Export("Before<g10>The note.\n</g10> after.\n");
    EXPECT_NE(s_xliff.find("<source>Before<x id=\"1\"/> after.</source>"), std::string::npos)
        << s_xliff;
    EXPECT_NE(s_xliff.find("resname=\"note 1\" restype=\"x-note\" extradata=\"10 10\">"),
              std::string::npos);
    EXPECT_NE(s_xliff.find("restype=\"x-note\" xml:space=\"preserve\">\n<source>The "
                           "note.</source>"),
              std::string::npos);
}

// Numbers go out to be localised ("5,88" in French), their copy already done; a paragraph of
// codes, spaces or punctuation has nothing to translate. Targets left out or not.
TEST(CT_XliffRoundTripTest, NumbersAreToTranslateAndAlreadyDone) {
    for (bool b_targets : {true, false}) {
        SCOPED_TRACE(b_targets);
        const std::string s_xliff = s_Export("Price:\n5.88 \xE2\x82\xAC\n<x6/> - \n", b_targets);
        EXPECT_NE(s_xliff.find(
                      "<trans-unit id=\"u1.2\" resname=\"u1 paragraph 2\" restype=\"x-paragraph\" "
                      "xml:space=\"preserve\">\n<source>5.88 \xE2\x82\xAC</source>\n"
                      "<seg-source><mrk mtype=\"seg\" mid=\"1\">5.88 \xE2\x82\xAC</mrk>"
                      "</seg-source>\n<target state=\"translated\"><mrk mtype=\"seg\" "
                      "mid=\"1\">5.88 \xE2\x82\xAC</mrk></target>\n"),
                  std::string::npos)
            << s_xliff;
        EXPECT_NE(s_xliff.find("<trans-unit id=\"u1.3\" resname=\"u1 paragraph 3\" "
                               "restype=\"x-paragraph\" translate=\"no\""),
                  std::string::npos);
        EXPECT_EQ(s_xliff.find("<target state=\"needs-translation\">") != std::string::npos,
                  b_targets);
    }
}

// Codes are numbered from 1 in every unit: alike runs are one, a run that looks as its
// paragraph is none, a hyperlink is one pair, a pair over two paragraphs is a <bx/> in one
// unit and an <ex/> in the next, a forced line break cuts no sentence. A
// translation maps back to the story's codes, a merged run taking its first run's.
TEST(CT_XliffRoundTripTest, CodesAreTheUnitsOwn) {
    std::string s_xliff = s_Export(gs_Runs);
    const std::string s_source1 =
        "<source><g id=\"1\">Go</g> <g id=\"2\" ctype=\"italic\">faraway</g><g id=\"3\" "
        "ctype=\"italic\">now</g> "
        "<g id=\"4\" ctype=\"link\">link</g> <bx id=\"5\" rid=\"5\" ctype=\"link\"/>start</source>";
    // The forced line break ends no sentence: the unit is one segment.
    const std::string s_source2 =
        "<source>end<ex id=\"1\"/> plain a\xE2\x80\xA8line.</source>\n<seg-source><mrk "
        "mtype=\"seg\" mid=\"1\">end<ex id=\"1\"/> plain a\xE2\x80\xA8line.</mrk></seg-source>";
    EXPECT_NE(s_xliff.find(s_source1), std::string::npos) << s_xliff;
    EXPECT_NE(s_xliff.find(s_source2), std::string::npos) << s_xliff;
    EXPECT_NE(s_Export(gs_Runs, true, true)
                  .find("<g id=\"2\" ctype=\"italic\">far</g><g id=\"3\" ctype=\"italic\">away"),
              std::string::npos);
    const std::size_t n_target = s_xliff.find("<target", s_xliff.find(s_source1));
    const std::size_t n_end = s_xliff.find("</target>", n_target);
    s_xliff.replace(n_target, n_end - n_target,
                    "<target state=\"final\"><g id=\"1\">Va</g> <g id=\"3\">maintenant</g> "
                    "<g id=\"2\">loin</g> <g id=\"4\">lien</g> <bx id=\"5\" rid=\"5\"/>début");
    const std::vector<CT_TaggedStory> co_stories = co_Back(s_xliff, gs_Runs);
    ASSERT_EQ(co_stories.size(), 2u);
    EXPECT_EQ(co_stories[0].co_Content,
              "<g8>Va</g8> <g13>maintenant</g13> <g11>loin</g11> <x20/>lien<x21/> <x22/>début\n"
              "end<x23/> <g14>plain</g14> a\xE2\x80\xA8line.\n");
}

// A big file goes to the sink in pieces, which together are the file written whole.
TEST(CT_XliffRoundTripTest, ASinkGetsTheSameFileInPieces) {
    const std::string s_story(4000, 'a');
    CT_XliffWriter co_whole({"doc.idml", "en", "fr", true});
    std::string s_pieces;
    std::size_t n_pieces = 0;
    CT_XliffWriter co_sunk({"doc.idml", "en", "fr", true}, [&](std::string_view co_Bytes) {
        s_pieces += co_Bytes;
        ++n_pieces;
    });
    for (int i = 0; i < 200; ++i) {
        co_whole.v_AddStory("u" + std::to_string(i), "P1", s_story + " end.\n", {});
        co_sunk.v_AddStory("u" + std::to_string(i), "P1", s_story + " end.\n", {});
    }
    const std::string s_whole = co_whole.s_Finish();
    EXPECT_EQ(co_sunk.s_Finish(), "");
    EXPECT_GT(n_pieces, 2u);
    EXPECT_EQ(s_pieces, s_whole);
}

}  // namespace
