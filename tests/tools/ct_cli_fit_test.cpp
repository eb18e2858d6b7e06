// The fit of a translation: a scripted translation grows one story in a frame of its own, grows
// a threaded one more and shrinks another; check flags only the first, by the limit the user
// sets, and the map colours only its frame, from a tagged file or from XLIFF.
#include <pugixml.hpp>

#include "tests/tools/ct_cli_fixture.h"

namespace {
class CT_CliFitTest : public CT_CliTest {
  protected:
    void SetUp() override {
        CT_CliTest::SetUp();
        ASSERT_EQ(co_Run({"export", "brochure.idml", "brochure.stt"}).i_Status, 0);
        std::string s_tagged = s_Read("brochure.stt");
        v_Replace(s_tagged, ">Summer in the Alps\n", ">Summer in the Alps and the lakes\n");
        v_Replace(s_tagged, "Our mountain guides have",
                  "Our mountain guides, all of them born here, have");
        v_Replace(s_tagged, "Tours at a glance", "Tours");
        v_Write("grown.stt", s_tagged);
    }

    static void v_Replace(std::string& s_Text, const std::string& s_Old, const std::string& s_New) {
        const std::size_t n_at = s_Text.find(s_Old);
        ASSERT_NE(n_at, std::string::npos) << s_Old;
        s_Text.replace(n_at, s_Old.size(), s_New);
    }
};
}  // namespace

TEST_F(CT_CliFitTest, CheckFlagsTheStoryThatGrewInAFrameOfItsOwn) {
    const CT_CliResult co_result = co_Run({"check", "brochure.idml", "grown.stt"});
    EXPECT_EQ(co_result.i_Status, 0);
    const std::string s_out = co_result.s_Out;
    EXPECT_EQ(
        s_out.substr(s_out.find("\n\n") + 2),
        "Length of the translation (characters, source to translation):\n"
        "  Story 1: Alpine Travel \xC2\xB7 Summ...    u1c2           24 ->      24   100 %\n"
        "  Story 2: Designer note: repla...    u22c           50 ->      50   100 %\n"
        "  Story 3: Summer in the Alps         u1d6           15 ->      26   173 %  may overflow\n"
        "  Story 4: Prices per person Da...    u1f3           57 ->      57   100 %\n"
        "  Story 5: Our mountain guides ...    u1e4          273 ->     292   107 %  threaded over "
        "2 frames\n"
        "  Story 6: All tours include a ...    u205           78 ->      78   100 %\n"
        "  Story 7: Tours at a glance To...    u21a           63 ->      54    86 %\n"
        "1 story grew by more than 15 % in a frame with no threaded continuation: check the "
        "frames before printing.\n");
    const std::string s_relaxed =
        co_Run({"check", "brochure.idml", "grown.stt", "--max-growth", "80"}).s_Out;
    EXPECT_NE(s_relaxed.find("No story grew by more than 80 %"), std::string::npos) << s_relaxed;
}

TEST_F(CT_CliFitTest, CheckGivesTheFitAsJson) {
    const CT_CliResult co_result = co_Run({"check", "brochure.idml", "grown.stt", "--json"});
    EXPECT_EQ(co_result.i_Status, 0);
    const std::vector<std::string> co_lines = sco_Lines(co_result.s_Out);
    ASSERT_EQ(co_lines.size(), 24u) << co_result.s_Out;
    EXPECT_EQ(co_lines[8], "  \"clean\": true,");
    EXPECT_EQ(co_lines[11], "    \"max_growth\": 15,");
    EXPECT_EQ(co_lines[12], "    \"at_risk\": 1,");
    EXPECT_EQ(
        co_lines[16],
        "      {\"number\": 3, \"key\": \"u1d6\", \"label\": \"Story 3: Summer in the Alps\", "
        "\"source_characters\": 15, \"translated_characters\": 26, \"ratio\": 1.733, "
        "\"frames\": 1, \"at_risk\": true},");
}

TEST_F(CT_CliFitTest, MapColoursOnlyTheFramesAtRisk) {
    ASSERT_EQ(co_Run({"map", "brochure.idml", "fit.html", "--check", "grown.stt"}).i_Status, 0);
    pugi::xml_document co_page;
    ASSERT_TRUE(co_page.load_file(s_Path("fit.html").c_str()));
    std::string s_atRisk;
    for (const pugi::xpath_node& co_node :
         co_page.select_nodes("//*[contains(@class,'at-risk')]")) {
        s_atRisk += std::string(co_node.node().name()) + " " +
                    co_node.node().attribute("data-key").value() +
                    co_node.node().attribute("data-story").value() + "\n";
    }
    EXPECT_EQ(s_atRisk, "g u1d6\nli u1d6\n");
    EXPECT_STREQ(co_page.select_node("//g[@data-key='u1d6']").node().attribute("data-risk").value(),
                 "may overflow: grown to 173 % (15 to 26 characters) in a frame with no threaded "
                 "continuation");
}

TEST_F(CT_CliFitTest, MapReadsATranslationInXliff) {
    ASSERT_EQ(co_Run({"export", "brochure.idml", "b.xlf", "--target-lang", "fr"}).i_Status, 0);
    std::string s_xliff = s_Read("b.xlf");
    const std::size_t n_source = s_xliff.find("<source>Summer in the Alps</source>");
    ASSERT_NE(n_source, std::string::npos);
    const std::size_t n_target = s_xliff.find("<target", n_source);
    const std::size_t n_end = s_xliff.find("</target>", n_target) + 9;
    s_xliff.replace(n_target, n_end - n_target,
                    "<target>Summer in the Alps and the lakes</target>");
    v_Write("grown.xlf", s_xliff);
    ASSERT_EQ(co_Run({"map", "brochure.idml", "fit.html", "--check", "grown.xlf"}).i_Status, 0);
    pugi::xml_document co_page;
    ASSERT_TRUE(co_page.load_file(s_Path("fit.html").c_str()));
    EXPECT_EQ(co_page.select_nodes("//g[contains(@class,'at-risk')]").size(), 1u);
    EXPECT_TRUE(co_page.select_node("//g[@data-key='u1d6' and contains(@class,'at-risk')]"));
}

TEST_F(CT_CliFitTest, MapWithAFileThatIsNoTranslationWritesNothing) {
    v_Write("notes.txt", "not a story file\n");
    const CT_CliResult co_result =
        co_Run({"map", "brochure.idml", "fit.svg", "--check", "notes.txt"});
    EXPECT_EQ(co_result.i_Status, 1);
    EXPECT_EQ(sco_ErrorLines(co_result.s_Err),
              std::vector<std::string>{
                  "storyport: error: notes.txt:1:1: not a tagged story file: it lacks the "
                  "version tag <STORYPORT-TAGGED-TEXT VERSION=\"1\">"});
    EXPECT_FALSE(b_Exists("fit.svg"));
    // The document given for the translation, and a translation in a legacy encoding, are told
    // as import tells them.
    std::string s_latin1 = s_Read("brochure.fr.stt");
    s_latin1.replace(s_latin1.find("L’été"), std::string("L’été").size(), "L\x92\xE9t\xE9");
    v_Write("latin1.stt", s_latin1);
    const std::pair<const char*, const char*> aco_cases[] = {
        {"brochure.idml",
         "storyport: error: \"brochure.idml\" is a zip archive (a document?), not a tagged story "
         "file"},
        {"latin1.stt",
         "storyport: error: latin1.stt:10:35: the byte 0x92 is not UTF-8: the file seems to be in "
         "a legacy 8-bit encoding (such as Latin-1 or Windows-1252); save it as UTF-8"},
    };
    for (const auto& [pc_file, pc_error] : aco_cases) {
        const CT_CliResult co_refused =
            co_Run({"map", "brochure.idml", "fit.svg", "--check", pc_file});
        EXPECT_EQ(co_refused.i_Status, 1);
        EXPECT_EQ(sco_ErrorLines(co_refused.s_Err), std::vector<std::string>{pc_error});
        EXPECT_FALSE(b_Exists("fit.svg"));
    }
}
