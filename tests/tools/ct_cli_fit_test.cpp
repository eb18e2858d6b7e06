// The fit of a translation, judged by the room the frames give it: on the sample brochure the
// French translation fits everywhere and a heading grown past its one line overflows; on a
// generated page a small frame goes from fits to tight to overflows a character at a time,
// while a pasteboard frame is never flagged and a frame without geometry falls back on growth;
// an XLIFF export shares the same room out as each unit's limit.
// The map colours every frame by check's verdict, from a tagged file or from XLIFF.
#include <pugixml.hpp>

#include "tests/platform/host/idml/ct_idml_story_samples.h"
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

    // "key class" of every frame on the map of small.idml, run with these options.
    std::string s_MapClasses(std::vector<std::string> co_Options) const {
        co_Options.insert(co_Options.begin(), {"map", "small.idml", "fit.svg"});
        EXPECT_EQ(co_Run(co_Options).i_Status, 0);
        pugi::xml_document co_svg;
        EXPECT_TRUE(co_svg.load_file(s_Path("fit.svg").c_str()));
        std::string s_classes;
        for (const pugi::xpath_node& co_node : co_svg.select_nodes("//g[@data-key]")) {
            s_classes += co_node.node().attribute("data-key").value() + std::string(" ") +
                         co_node.node().attribute("class").value() + "\n";
        }
        return s_classes;
    }

    // The fit report: what check writes after its verdict.
    static std::string ss_Fit(const std::string& s_Out) {
        return s_Out.substr(s_Out.find("\n\nFit of") + 2);
    }

    // One page, printed as A22, with three stories of ten x's in 10-point type on 12 points of
    // leading: s1 in a frame of 100 by 24 points (two lines of 20 characters), s2 in a frame on
    // the pasteboard, s3 in a frame without an outline. Its styles part is damaged, which the
    // estimate passes over: the story's own type is all it needs. s_First: s1's content.
    // n_More: as many stories again as s1, in frames of its size beside it.
    void v_WriteSmallFrames(const std::string& s_First = "<Content>xxxxxxxxxx</Content>",
                            unsigned n_More = 0) const {
        const auto s_frame = [](const std::string& s_Story, const std::string& s_Place,
                                bool b_Outline) {
            return "<TextFrame Self=\"f" + s_Story + "\" ParentStory=\"" + s_Story +
                   "\" ItemTransform=\"1 0 0 1 " + s_Place + "\">" +
                   (b_Outline ? "<Properties><PathGeometry><GeometryPathType><PathPointArray>"
                                "<PathPointType Anchor=\"0 0\"/><PathPointType Anchor=\"100 24\"/>"
                                "</PathPointArray></GeometryPathType></PathGeometry></Properties>"
                              : "") +
                   "</TextFrame>";
        };
        const auto s_story = [](const std::string& s_Key,
                                const std::string& s_Content = "<Content>xxxxxxxxxx</Content>") {
            return "<idPkg:Story xmlns:idPkg=\"p\"><Story Self=\"" + s_Key +
                   "\"><ParagraphStyleRange PointSize=\"10\"><Properties><Leading type=\"unit\">"
                   "12</Leading></Properties><CharacterStyleRange>" +
                   s_Content + "</CharacterStyleRange></ParagraphStyleRange></Story></idPkg:Story>";
        };
        std::string s_stories, s_frames;
        std::vector<idml_test::CT_Entry> co_more;
        for (unsigned n = 0; n < n_More; ++n) {
            const std::string s_key = "m" + std::to_string(n + 1);
            s_stories += "<idPkg:Story src=\"Stories/" + s_key + ".xml\"/>";
            s_frames += s_frame(s_key, "150 " + std::to_string(10 + 26 * n), true);
            co_more.emplace_back("Stories/" + s_key + ".xml", s_story(s_key));
        }
        std::vector<idml_test::CT_Entry> co_entries{
            {"mimetype", "application/vnd.adobe.indesign-idml-package", ZIP_CM_STORE},
            {"designmap.xml",
             "<Document xmlns:idPkg=\"p\"><idPkg:Styles src=\"Resources/Styles.xml\"/>"
             "<idPkg:Spread src=\"Spreads/S.xml\"/><Section Self=\"c\" PageStart=\"p\" "
             "ContinueNumbering=\"false\" "
             "PageNumberStart=\"22\" SectionPrefix=\"A\"/><idPkg:Story "
             "src=\"Stories/s1.xml\"/><idPkg:Story src=\"Stories/s2.xml\"/><idPkg:Story "
             "src=\"Stories/s3.xml\"/>" +
                 s_stories + "</Document>"},
            {"Spreads/S.xml",
             "<idPkg:Spread xmlns:idPkg=\"p\"><Spread><Page Self=\"p\" GeometricBounds=\"0 "
             "0 300 300\"/>" +
                 s_frame("s1", "10 10", true) + s_frame("s2", "-400 10", true) +
                 s_frame("s3", "10 100", false) + s_frames + "</Spread></idPkg:Spread>"},
            {"Resources/Styles.xml", "<idPkg:Styles"},
            {"Stories/s1.xml", s_story("s1", s_First)},
            {"Stories/s2.xml", s_story("s2")},
            {"Stories/s3.xml", s_story("s3")}};
        co_entries.insert(co_entries.end(), co_more.begin(), co_more.end());
        idml_test::v_WriteZip(s_Path("small.idml"), co_entries);
    }
};
}  // namespace

TEST_F(CT_CliFitTest, CheckJudgesByTheRoomOfTheFrames) {
    const CT_CliResult co_french = co_Run({"check", "brochure.idml", "brochure.fr.stt"});
    EXPECT_EQ(co_french.i_Status, 0);
    EXPECT_EQ(
        ss_Fit(co_french.s_Out),
        "Fit of the translation (characters: source -> translation, of the capacity estimated "
        "for its frames):\n"
        "  Story 1: Alpine Travel \xC2\xB7 Summ...    u1c2        24 ->     21   88 %  of    270  "
        "fits       master A-Master, frame u1c8\n"
        "  Story 3: Summer in the Alps         u1d6        15 ->     17  113 %  of     30  fits    "
        "   page 1, frame u1dc\n"
        "  Story 4: Prices per person Da...    u1f3        57 ->     76  133 %  of    543  fits    "
        "   page 1, frame u1f9\n"
        "  Story 5: Our mountain guides ...    u1e4       273 ->    318  116 %  of   2458  fits    "
        "   page 1, frame u1ec\n"
        "  Story 6: All tours include a ...    u205        78 ->    108  138 %  of    701  fits    "
        "   page 2, frame u20b\n"
        "  Story 7: Tours at a glance To...    u21a        63 ->     82  130 %  of   2005  fits    "
        "   page 3, frame u220\n"
        "Not printed, so never flagged:\n"
        "  Story 2: Designer note: repla...    u22c        50 ->     64  128 %  on the pasteboard\n"
        "Every printed story fits its frames.\n");
    // A heading grown past its one line overflows; the threaded story has room to grow into.
    const std::string s_grown = ss_Fit(co_Run({"check", "brochure.idml", "grown.stt"}).s_Out);
    EXPECT_NE(s_grown.find("  Story 3: Summer in the Alps         u1d6        15 ->     26  173 %  "
                           "of     30  overflows  page 1, frame u1dc\n"),
              std::string::npos)
        << s_grown;
    EXPECT_EQ(s_grown.substr(s_grown.rfind("\n", s_grown.size() - 2) + 1),
              "1 story may overflow: story 3 (page 1, frame u1dc). Check the frames before "
              "printing.\n");
}

TEST_F(CT_CliFitTest, VerdictsAtTheEdgesOfASmallFrame) {
    v_WriteSmallFrames();
    ASSERT_EQ(co_Run({"export", "small.idml", "small.stt"}).i_Status, 0);
    const std::string s_tagged = s_Read("small.stt");
    // 36 characters fill nine tenths of the 40 the frame holds; beyond that it is tight up to
    // 40, and overflows from 41. The pasteboard's story and the one without an outline grow
    // alike: never flagged, and flagged by growth only, as --max-growth allows.
    const std::pair<std::size_t, const char*> aco_cases[] = {
        {36, "fits"}, {37, "tight"}, {40, "tight"}, {41, "overflows"}};
    for (const auto& [n_length, pc_verdict] : aco_cases) {
        SCOPED_TRACE(n_length);
        std::string s_long = s_tagged;
        for (std::size_t n_at; (n_at = s_long.find(">xxxxxxxxxx\n")) != std::string::npos;) {
            s_long.replace(n_at, 12, ">" + std::string(n_length, 'x') + "\n");
        }
        v_Write("long.stt", s_long);
        const std::vector<std::string> co_lines =
            sco_Lines(co_Run({"check", "small.idml", "long.stt", "--json"}).s_Out);
        ASSERT_GT(co_lines.size(), 19u);
        EXPECT_EQ(co_lines[16],
                  "      {\"number\": 2, \"key\": \"s1\", \"label\": \"Story 2: xxxxxxxxxx\", "
                  "\"source_characters\": 10, \"translated_characters\": " +
                      std::to_string(n_length) + ", \"ratio\": " + std::to_string(n_length / 10) +
                      "." + std::to_string(n_length % 10) +
                      "00, \"frames\": 1, \"page\": \"A22\", \"frame\": \"fs1\", \"prints\": true, "
                      "\"capacity\": 40, \"fill\": " +
                      (n_length == 36   ? "0.900"
                       : n_length == 37 ? "0.925"
                       : n_length == 40 ? "1.000"
                                        : "1.025") +
                      ", \"verdict\": \"" + pc_verdict +
                      "\", \"at_risk\": " + (n_length == 41 ? "true" : "false") + "},");
        EXPECT_NE(co_lines[17].find("\"key\": \"s3\""), std::string::npos);
        EXPECT_NE(co_lines[17].find("\"verdict\": \"unmeasured\", \"at_risk\": true"),
                  std::string::npos);
        EXPECT_NE(co_lines[15].find("\"key\": \"s2\""), std::string::npos);
        EXPECT_NE(co_lines[15].find("\"prints\": false"), std::string::npos);
        EXPECT_NE(co_lines[15].find("\"at_risk\": false"), std::string::npos);
        // The map colours by the same verdicts.
        EXPECT_EQ(s_MapClasses({"--check", "long.stt"}),
                  std::string("s1 frame ") +
                      (n_length == 36   ? "fits"
                       : n_length == 41 ? "at-risk"
                                        : "tight") +
                      "\ns2 frame pasteboard\ns3 frame at-risk\n");
    }
    const std::string s_relaxed =
        ss_Fit(co_Run({"check", "small.idml", "long.stt", "--max-growth", "300"}).s_Out);
    EXPECT_NE(s_relaxed.find("s3          10 ->     41  410 %  may overflow"), std::string::npos)
        << s_relaxed;
    const std::string s_lax =
        ss_Fit(co_Run({"check", "small.idml", "long.stt", "--max-growth", "310"}).s_Out);
    EXPECT_NE(s_lax.find("s3          10 ->     41  410 %  not measured"), std::string::npos)
        << s_lax;
    EXPECT_EQ(s_MapClasses({"--check", "long.stt", "--max-growth", "310"}),
              "s1 frame at-risk\ns2 frame pasteboard\ns3 frame\n");
    pugi::xml_document co_svg;
    ASSERT_TRUE(co_svg.load_file(s_Path("fit.svg").c_str()));
    EXPECT_TRUE(
        co_svg.select_node("//g[@class='legend']/text[.='overflows, or grown more than 310 "
                           "% where nothing is measured']"));
}

// Each unit to translate carries its share of the same room: s1's frame holds 40 characters,
// and its paragraphs of 5 and 14 get 40 * 5 / 19 = 10.5, up to 11, and 29.5, up to the round 30.
// The pasteboard's story and the one without an outline get none, nor any unit with
// --no-limits; the notes name the page as printed. A translation past its limit still imports
// (the fit report judges it: the map, reading the XLIFF file, flags the frame).
TEST_F(CT_CliFitTest, XliffUnitsCarryTheirShareOfTheRoom) {
    v_WriteSmallFrames("<Content>aaaaa</Content><Br/><Content>bbbbbbbbbbbbbb</Content>");
    ASSERT_EQ(co_Run({"export", "small.idml", "small.xlf", "--target-lang", "fr"}).i_Status, 0);
    const std::string s_xliff = s_Read("small.xlf");
    for (const char* pc_expected :
         {"<note>story 1, pasteboard, frame fs2</note>",
          "<note>story 2, page A22, frame fs1</note>",
          " maxwidth=\"11\" size-unit=\"char\" xml:space=\"preserve\">\n<source>aaaaa<",
          " maxwidth=\"30\" size-unit=\"char\" xml:space=\"preserve\">\n<source>bbbbbbbbbbbbbb<",
          "<note>paragraph 2, page A22</note>"}) {
        EXPECT_NE(s_xliff.find(pc_expected), std::string::npos) << pc_expected << "\n" << s_xliff;
    }
    std::size_t n_limits = 0;
    for (std::size_t n_at = 0; (n_at = s_xliff.find("maxwidth", n_at + 1)) != std::string::npos;) {
        ++n_limits;
    }
    EXPECT_EQ(n_limits, 2u);
    ASSERT_EQ(
        co_Run({"export", "small.idml", "bare.xlf", "--target-lang", "fr", "--no-limits"}).i_Status,
        0);
    EXPECT_EQ(s_Read("bare.xlf").find("maxwidth"), std::string::npos);

    std::string s_long = s_xliff;
    const std::size_t n_target = s_long.find("<target", s_long.find("<source>aaaaa</source>"));
    s_long.replace(n_target, s_long.find("</target>", n_target) + 9 - n_target,
                   "<target state=\"translated\">" + std::string(50, 'a') + "</target>");
    v_Write("long.xlf", s_long);
    ASSERT_EQ(co_Run({"map", "small.idml", "fit.html", "--check", "long.xlf"}).i_Status, 0);
    pugi::xml_document co_page;
    ASSERT_TRUE(co_page.load_file(s_Path("fit.html").c_str()));
    EXPECT_EQ(co_page.select_nodes("//g[contains(@class,'at-risk')]").size(), 1u);
    EXPECT_TRUE(co_page.select_node("//g[@data-key='s1' and contains(@class,'at-risk')]"));
    const CT_CliResult co_import = co_Run({"import", "small.idml", "long.xlf", "--no-backup"});
    EXPECT_EQ(co_import.i_Status, 0) << co_import.s_Err;
    ASSERT_EQ(co_Run({"export", "small.idml", "after.stt"}).i_Status, 0);
    EXPECT_NE(s_Read("after.stt").find(std::string(50, 'a')), std::string::npos);
}

// Every story has its line in the list; the summary names the first ten of many and counts
// the rest, so that it stays a line to read.
TEST_F(CT_CliFitTest, TheSummaryNamesAFewOfManyStories) {
    v_WriteSmallFrames("<Content>xxxxxxxxxx</Content>", 11);
    ASSERT_EQ(co_Run({"export", "small.idml", "small.stt"}).i_Status, 0);
    std::string s_long = s_Read("small.stt");
    for (std::size_t n_at; (n_at = s_long.find(">xxxxxxxxxx\n")) != std::string::npos;) {
        s_long.replace(n_at, 12, ">" + std::string(41, 'x') + "\n");
    }
    v_Write("long.stt", s_long);
    const std::string s_fit = ss_Fit(co_Run({"check", "small.idml", "long.stt"}).s_Out);
    const std::string s_last = s_fit.substr(s_fit.rfind("\n", s_fit.size() - 2) + 1);
    EXPECT_EQ(s_last.rfind("13 stories may overflow: story 2 (page A22, frame fs1); ", 0), 0u)
        << s_last;
    EXPECT_NE(s_last.find(" and 3 more. Check the frames before printing.\n"), std::string::npos)
        << s_last;
    std::size_t n_named = 0;
    for (std::size_t n_at = 0; (n_at = s_last.find("story ", n_at)) != std::string::npos; ++n_at) {
        ++n_named;
    }
    EXPECT_EQ(n_named, 10u) << s_last;
}

TEST_F(CT_CliFitTest, MapColoursEveryFrameByItsVerdict) {
    ASSERT_EQ(co_Run({"map", "brochure.idml", "fit.html", "--check", "grown.stt"}).i_Status, 0);
    pugi::xml_document co_page;
    ASSERT_TRUE(co_page.load_file(s_Path("fit.html").c_str()));
    std::string s_classes;
    for (const pugi::xpath_node& co_node :
         co_page.select_nodes("//g[@data-key] | //li[contains(@class,'at-risk')]")) {
        s_classes += std::string(co_node.node().name()) + " " +
                     co_node.node().attribute("data-key").value() +
                     co_node.node().attribute("data-story").value() + " " +
                     co_node.node().attribute("class").value() + "\n";
    }
    EXPECT_EQ(s_classes,
              "g u1c2 frame fits\ng u1d6 frame at-risk\ng u1e4 frame fits\ng u1f3 frame fits\n"
              "g u1e4 frame fits\ng u205 frame fits\ng u21a frame fits\ng u22c frame pasteboard\n"
              "li u1d6 at-risk\n");
    EXPECT_STREQ(co_page.select_node("//g[@data-key='u1d6']").node().attribute("data-risk").value(),
                 "overflows: the translation needs about 107 % of the room its frames give it "
                 "(page 1, frame u1dc)");
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
