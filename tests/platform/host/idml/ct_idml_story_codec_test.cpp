// The story codec on small literal stories: the exact content export writes, what import makes
// of translated content, and the content it refuses.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <string>
#include <unordered_set>
#include <vector>

#include "platform/common/ct_errors.h"
#include "platform/host/idml/ct_idml_story_codec.h"
#include "platform/host/idml/ct_idml_story_plain_text.h"
#include "platform/host/idml/ct_idml_story_xml.h"

namespace {

// A <Story> element parsed as a host parses it.
class CT_Story {
  public:
    explicit CT_Story(const std::string& co_Xml) {
        co_Document.load_string(co_Xml.c_str(), CT_IdmlStoryXml::sn_ParseOptions);
    }
    pugi::xml_node co_Node() { return co_Document.child("Story"); }
    std::string s_Export() { return CT_IdmlStoryCodec::s_Export(co_Node()); }
    void v_Import(const std::string& co_Content) {
        CT_IdmlStoryCodec::v_Import(co_Node(), co_Content, CT_String("u1"));
    }
    std::string s_Xml() {
        std::ostringstream co_out;
        co_Node().print(co_out, "", CT_IdmlStoryXml::sn_WriteOptions);
        return co_out.str();
    }
    std::string s_Text(const char* pc_XPath) {
        return co_Node().select_node(pc_XPath).node().child_value();
    }

  private:
    pugi::xml_document co_Document;
};

std::string s_Plain(CT_Story& co_Story, std::size_t n_Limit, bool b_Preview, bool* pb_More) {
    std::string co_text;
    *pb_More = CT_IdmlStoryCodec::b_PlainText(co_Story.co_Node(), co_text, n_Limit, b_Preview);
    return co_text;
}

#define PLAIN \
    "CharacterStyleRange AppliedCharacterStyle=\"CharacterStyle/$ID/[No character style]\""
#define BOLD PLAIN " FontStyle=\"Bold\""
#define BODY "ParagraphStyleRange AppliedParagraphStyle=\"ParagraphStyle/Body\""
#define HEAD "ParagraphStyleRange AppliedParagraphStyle=\"ParagraphStyle/Head\""
#define CELL(NAME, TEXT)                                                             \
    "<Cell Self=\"c" NAME "\" Name=\"" NAME "\"><" BODY "><" PLAIN "><Content>" TEXT \
    "</Content></CharacterStyleRange></ParagraphStyleRange></Cell>"

// Runs, a break that ends a bold run's paragraph, and a run that differs only in tracking.
const std::string sco_Formatted = "<Story Self=\"u1\"><StoryPreference/><" BODY "><" PLAIN
                                  "><Content>Plain </Content></CharacterStyleRange><" BOLD
                                  "><Properties><AppliedFont type=\"string\">Serif</AppliedFont>"
                                  "</Properties><Content>bold</Content><Br/><Content>more bold"
                                  "</Content></CharacterStyleRange><" PLAIN
                                  " Tracking=\"-20\">"
                                  "<Content>, tight</Content></CharacterStyleRange><" PLAIN
                                  "><Content> and plain</Content></CharacterStyleRange>"
                                  "</ParagraphStyleRange></Story>";

// A hyperlink, a footnote, a table whose cells the file lists column by column, and a note.
const std::string sco_Structured =
    "<Story Self=\"u1\"><StoryPreference/><" BODY "><" PLAIN
    "><Content>See </Content>"
    "<HyperlinkTextSource Self=\"h1\" Name=\"Link\"><Content>the site</Content>"
    "</HyperlinkTextSource><Content>.</Content><Footnote><" HEAD "><" PLAIN
    "><Content>"
    "<?ACE 4?>Source.</Content></CharacterStyleRange></ParagraphStyleRange></Footnote><Br/>"
    "<Table Self=\"t1\"><Row Self=\"t1r0\" Name=\"0\"/><Row Self=\"t1r1\" Name=\"1\"/>" CELL(
        "0:0", "r0c0") CELL("0:1", "r1c0") CELL("1:0", "r0c1")
        CELL("1:1", "r1c1") "</Table><Note><" BODY "><" PLAIN
                            "><Content>Check this</Content></CharacterStyleRange>"
                            "</ParagraphStyleRange></Note></CharacterStyleRange></"
                            "ParagraphStyleRange></Story>";

const std::string sco_StructuredContent =
    "See <x1/>the site<x2/>.<x3/><x4/>Source.\n<x5/>\n<x6/><x7/>r0c0\n<x8/>r0c1\n<x9/>r1c0\n"
    "<x10/>r1c1\n<x11/><g12>Check this\n</g12>\n";

// An instruction, an anchored frame, deleted and inserted text.
const std::string sco_Objects =
    "<Story Self=\"u1\"><" BODY "><" PLAIN
    "><Content>Page <?ACE 18?> of</Content><TextFrame "
    "Self=\"u9\" ParentStory=\"u8\"/><Change ChangeType=\"DeletedText\"><Content>old</Content>"
    "</Change><Change ChangeType=\"InsertedText\"><Content>new</Content></Change><Content> end"
    "</Content></CharacterStyleRange></ParagraphStyleRange></Story>";

TEST(IdmlStoryExport, EscapesTextAndEndsEveryParagraphWithALineEnd) {
    CT_Story co_text("<Story Self=\"u1\"><" BODY "><" PLAIN
                     "><Content>a&lt;b&gt; c\\d</Content>"
                     "<Br/><Content> </Content><Br/><Content>tab\tline\u2028break</Content>"
                     "</CharacterStyleRange></ParagraphStyleRange></Story>");
    EXPECT_EQ(co_text.s_Export(), "a\\<b\\> c\\\\d\n \ntab\tline\u2028break\n");

    // A story that ends with a break ends with an empty paragraph.
    CT_Story co_trailing("<Story Self=\"u1\"><" BODY "><" PLAIN
                         "><Content>x</Content><Br/>"
                         "</CharacterStyleRange></ParagraphStyleRange></Story>");
    EXPECT_EQ(co_trailing.s_Export(), "x\n\n");
    CT_Story co_empty("<Story Self=\"u1\"><StoryPreference/></Story>");
    EXPECT_EQ(co_empty.s_Export(), "\n");
}

// Formatting is coded only where it differs from its paragraph; objects and structures get
// standalone codes.
TEST(IdmlStoryExport, CodesFormattingObjectsAndStructures) {
    CT_Story co_story(sco_Formatted);
    EXPECT_EQ(co_story.s_Export(), "Plain <g1>bold</g1>\n<g2>more bold</g2>, tight and plain\n");
    CT_Story co_objects(sco_Objects);
    EXPECT_EQ(co_objects.s_Export(), "Page <x1/> of<x2/><x3/><g4>new</g4> end\n");
    CT_Story co_structured(sco_Structured);
    EXPECT_EQ(co_structured.s_Export(), sco_StructuredContent);
    // The order a range's attributes stand in is no formatting of its own.
    CT_Story co_reordered("<Story Self=\"u1\"><" BODY "><" BOLD
                          "><Content>one</Content></CharacterStyleRange><CharacterStyleRange "
                          "FontStyle=\"Bold\" AppliedCharacterStyle=\"CharacterStyle/$ID/[No "
                          "character style]\"><Content> two</Content></CharacterStyleRange><" PLAIN
                          "><Content> three</Content></CharacterStyleRange>"
                          "</ParagraphStyleRange></Story>");
    EXPECT_EQ(co_reordered.s_Export(), "<g1>one two</g1> three\n");
}

// What a translator is told of each code: a run that differs only in ligatures looks as its
// paragraph, a character style or bold does not and says so; a hyperlink's end names its
// start; every line of the content, footnote and cells too, has its paragraph style.
TEST(IdmlStoryExport, DescribesWhatEachCodeIs) {
    CT_Story co_runs(
        "<Story Self=\"u1\"><" BODY "><" PLAIN
        "><Content>Plain </Content>"
        "</CharacterStyleRange><" PLAIN
        " Ligatures=\"false\"><Content>lig</Content>"
        "</CharacterStyleRange><CharacterStyleRange AppliedCharacterStyle="
        "\"CharacterStyle/Math%3aPE\"><Content>emph</Content></CharacterStyleRange><" BOLD
        "><Content>bold</Content></CharacterStyleRange></ParagraphStyleRange></Story>");
    std::vector<CT_IdmlStoryCodeInfo> co_codes;
    EXPECT_EQ(CT_IdmlStoryCodec::s_Export(co_runs.co_Node(), co_codes),
              "Plain <g1>lig</g1><g2>emph</g2><g3>bold</g3>\n");
    ASSERT_EQ(co_codes.size(), 4u);
    EXPECT_TRUE(co_codes[1].b_LooksAsParagraph);
    EXPECT_FALSE(co_codes[2].b_LooksAsParagraph);
    EXPECT_EQ(co_codes[2].co_Name, "Math:PE");
    EXPECT_FALSE(co_codes[3].b_LooksAsParagraph);
    EXPECT_EQ(co_codes[3].co_FontStyle, "Bold");
    EXPECT_EQ(co_codes[0].co_ParagraphStyles, std::vector<std::string>{"Body"});

    CT_Story co_structured(sco_Structured);
    EXPECT_EQ(CT_IdmlStoryCodec::s_Export(co_structured.co_Node(), co_codes),
              sco_StructuredContent);
    EXPECT_EQ(co_codes[2].n_Partner, 1u);
    EXPECT_EQ(
        co_codes[0].co_ParagraphStyles,
        (std::vector<std::string>{"Head", "Body", "Body", "Body", "Body", "Body", "Body", "Body"}));
}

TEST(IdmlStoryPlainText, LeavesCodesOutAndStopsAtTheLimit) {
    CT_Story co_story(sco_Structured);
    bool b_more = false;
    EXPECT_EQ(s_Plain(co_story, 1000, false, &b_more),
              "See the site.Source.\n\nr0c0\nr0c1\nr1c0\nr1c1\nCheck this\n");
    EXPECT_FALSE(b_more);
    EXPECT_EQ(s_Plain(co_story, 22, true, &b_more), "See the site.Source.  ");
    EXPECT_TRUE(b_more);
}

// The start of a story's content, read without the rest of the story, is what the whole
// content begins with, through as many characters as asked, and says whether more follows:
// also where a skipped note held most of the text that was counted.
TEST(IdmlStoryExport, TheStartIsWhatTheWholeBeginsWith) {
    const std::string s_longNote = "<Story Self=\"u1\"><" BODY "><" PLAIN
                                   "><Content>A</Content><Note><" BODY "><" PLAIN "><Content>" +
                                   std::string(80, 'n') +
                                   "</Content></CharacterStyleRange></ParagraphStyleRange>"
                                   "</Note><Br/><Content>After the note.</Content>"
                                   "</CharacterStyleRange></ParagraphStyleRange></Story>";
    for (const std::string& s_xml : {sco_Formatted, sco_Structured, sco_Objects, s_longNote}) {
        CT_Story co_story(s_xml);
        for (const bool b_skip : {false, true}) {
            CT_IdmlStoryOptions co_options;
            co_options.b_SkipNotes = b_skip;
            const std::string s_whole = CT_IdmlStoryCodec::s_Export(co_story.co_Node(), co_options);
            for (std::size_t n_characters = 0; n_characters < 100; ++n_characters) {
                const std::size_t n_bytes =
                    CT_IdmlStoryPlainText::sn_PrefixBytes(s_whole, n_characters);
                bool b_cut = false;
                EXPECT_EQ(CT_IdmlStoryCodec::s_ExportStart(co_story.co_Node(), co_options,
                                                           n_characters, b_cut),
                          s_whole.substr(0, n_bytes))
                    << s_xml << " " << b_skip << " " << n_characters;
                EXPECT_EQ(b_cut, n_bytes < s_whole.size()) << s_xml << " " << n_characters;
            }
        }
    }
}

TEST(IdmlStoryImport, PutsTranslatedTextIntoTheRangesOfItsCodesAndParagraphs) {
    CT_Story co_story(sco_Formatted);
    co_story.v_Import("Einfach <g1>fett</g1>\n<g2>noch fetter</g2>, eng und einfach\n");
    EXPECT_EQ(co_story.s_Xml(),
              "<Story Self=\"u1\"><StoryPreference/><" BODY "><" PLAIN
              "><Content>Einfach "
              "</Content></CharacterStyleRange><" BOLD
              "><Properties><AppliedFont type=\"string\">"
              "Serif</AppliedFont></Properties><Content>fett</Content><Br/><Content>noch fetter"
              "</Content></CharacterStyleRange><" PLAIN
              "><Content>, eng und einfach</Content>"
              "</CharacterStyleRange></ParagraphStyleRange></Story>");
}

TEST(IdmlStoryImport, ExtraParagraphsTakeTheLastParagraphsRanges) {
    CT_Story co_story("<Story Self=\"u1\"><" BODY "><" PLAIN
                      "><Content>One</Content><Br/>"
                      "</CharacterStyleRange></ParagraphStyleRange><" HEAD "><" PLAIN
                      "><Content>"
                      "Two</Content></CharacterStyleRange></ParagraphStyleRange></Story>");
    ASSERT_EQ(co_story.s_Export(), "One\nTwo\n");
    co_story.v_Import("Eins\nZwei\nDrei");  // the last line end may be missing
    EXPECT_EQ(co_story.s_Xml(), "<Story Self=\"u1\"><" BODY "><" PLAIN
                                "><Content>Eins</Content><Br/>"
                                "</CharacterStyleRange></ParagraphStyleRange><" HEAD "><" PLAIN
                                "><Content>Zwei"
                                "</Content><Br/><Content>Drei</Content></CharacterStyleRange>"
                                "</ParagraphStyleRange></Story>");
    co_story.v_Import("Alles\n");
    EXPECT_EQ(co_story.s_Xml(), "<Story Self=\"u1\"><" BODY "><" PLAIN
                                "><Content>Alles</Content>"
                                "</CharacterStyleRange></ParagraphStyleRange></Story>");
    co_story.v_Import("");
    EXPECT_EQ(co_story.s_Xml(), "<Story Self=\"u1\"><" BODY "><" PLAIN
                                "/></ParagraphStyleRange>"
                                "</Story>");
}

TEST(IdmlStoryImport, MovedCodesCarryTheirFormattingAndDroppedOnesTheirParagraphs) {
    CT_Story co_story(sco_Formatted);
    co_story.v_Import("<g2>Fett</g2> einfach\n");
    EXPECT_EQ(co_story.s_Xml(),
              "<Story Self=\"u1\"><StoryPreference/><" BODY "><" BOLD
              "><Properties><AppliedFont "
              "type=\"string\">Serif</AppliedFont></Properties><Content>Fett</Content>"
              "</CharacterStyleRange><" PLAIN
              "><Content> einfach</Content>"
              "</CharacterStyleRange></ParagraphStyleRange></Story>");

    CT_Story co_objects(sco_Objects);
    co_objects.v_Import("<x3/>Seite<x2/> von <x1/> neu\n");
    EXPECT_EQ(co_objects.s_Xml(),
              "<Story Self=\"u1\"><" BODY "><" PLAIN
              "><Change ChangeType=\"DeletedText\"><Content>"
              "old</Content></Change><Content>Seite</Content><TextFrame Self=\"u9\" ParentStory="
              "\"u8\"/><Content> von <?ACE 18?> neu</Content></CharacterStyleRange>"
              "</ParagraphStyleRange></Story>");
}

TEST(IdmlStoryImport, FillsCellsNotesAndWrappersByTheirCodes) {
    CT_Story co_story(sco_Structured);
    co_story.v_Import(
        "<x1/>Siehe\ndie Seite<x2/>.<x3/><x4/>Quelle.\n<x5/>\n<x6/><x7/>z0s0\n<x9/>z1s0\n"
        "<x8/>z0s1\n<x10/>z1s1\n<x11/><g12>Prüfen\n</g12>\n");
    EXPECT_EQ(co_story.s_Text("//Cell[@Name='0:1']//Content"), "z1s0");
    EXPECT_EQ(co_story.s_Text("//Cell[@Name='1:0']//Content"), "z0s1");
    EXPECT_EQ(co_story.s_Text("//Note//Content"), "Prüfen");
    EXPECT_EQ(co_story.s_Text("//Footnote//Content"), "Quelle.");
    // The hyperlink now spans a paragraph end; it stays one element around both paragraphs.
    pugi::xpath_node_set co_links = co_story.co_Node().select_nodes("//HyperlinkTextSource");
    ASSERT_EQ(co_links.size(), 1u);
    EXPECT_EQ(co_links.first().node().select_nodes(".//Content").size(), 2u);
    EXPECT_EQ(co_story.s_Export(),
              "<x1/>Siehe\ndie Seite<x2/>.<x3/><x4/>Quelle.\n<x5/>\n<x6/><x7/>z0s0\n<x8/>z0s1\n"
              "<x9/>z1s0\n<x10/>z1s1\n<x11/><g12>Prüfen\n</g12>\n");
}

TEST(IdmlStoryImport, RefusesBrokenContentAndLeavesTheStoryAlone) {
    const std::string co_xml =
        "<Story Self=\"u1\"><" BODY "><" PLAIN "><Content>A </Content></CharacterStyleRange><" BOLD
        "><Content>bold</Content></CharacterStyleRange><" PLAIN
        "><Content> see </Content>"
        "<HyperlinkTextSource Self=\"h1\"><Content>site</Content></HyperlinkTextSource><Content>"
        "<?ACE 18?></Content><Table Self=\"t1\">" CELL("0:0", "x")
            CELL("1:0", "y") "</Table></CharacterStyleRange></ParagraphStyleRange></Story>";
    CT_Story co_story(co_xml);
    ASSERT_EQ(co_story.s_Export(),
              "A <g1>bold</g1> see <x2/>site<x3/><x4/><x5/><x6/>x\n<x7/>y\n<x8/>\n");
    const std::pair<const char*, const char*> aco_cases[] = {
        {"A <g1>bold</g1> see <x2/>site<x3/><x5/><x6/>x\n<x7/>y\n<x8/>\n", "code <x4/> is missing"},
        {"A <g1>bold</g1> see <x2/>site<x3/><x4/><x5/><x6/>x<x9/>\n<x7/>y\n<x8/>\n",
         "unknown code <x9/>"},
        {"A <g1>bold see <x2/>site<x3/><x4/><x5/><x6/>x\n<x7/>y\n<x8/>\n",
         "code <g1> is not closed"},
        {"A bold</g1> see <x2/>site<x3/><x4/><x5/><x6/>x\n<x7/>y\n<x8/>\n",
         "code </g1> has no opening code"},
        {"A <g1>bold</g1> see <x2/>site<x3/><x4/><x4/><x5/><x6/>x\n<x7/>y\n<x8/>\n",
         "code <x4/> appears twice"},
        {"A <g1>bold</g1> see <x2/>site<x3/><x4/><x6/>x\n<x5/><x7/>y\n<x8/>\n",
         "code <x6/> is out of place"},
        {"A <g1>bold</g1> see <x2/>site<x3/><x4/><x6/>x\n<x7/>y\n<x8/>\n", "code <x5/> is missing"},
        {"A <g1>bold</g1> see <x2/>site<x3/><x4/><x5/>z<x6/>x\n<x7/>y\n<x8/>\n",
         "text in table <x5/> outside its cells"},
        {"A < B", "\"<\" that starts no code (escape it as \"\\<\") at byte 2"},
        {"A \\q", "bad escape \"\\q\" at byte 2"},
        {"A \xff", "text that is not UTF-8 at byte 2"},
        // Cut short, overlong, a surrogate, a noncharacter: after well-formed text of two scripts.
        {"\xD0\x96\xE4\xB8\xAD \xC3", "text that is not UTF-8 at byte 6"},
        {"\xD0\x96\xE4\xB8\xAD \xE4\xB8x", "text that is not UTF-8 at byte 6"},
        {"\xD0\x96\xE4\xB8\xAD \xE0\x80\x80", "text that is not UTF-8 at byte 6"},
        {"\xD0\x96\xE4\xB8\xAD \xED\xA0\x80", "text that is not UTF-8 at byte 6"},
        {"\xD0\x96\xE4\xB8\xAD \xEF\xBF\xBE", "text that is not UTF-8 at byte 6"},
        {"A \x01", "control character U+0001 at byte 2"},
    };
    for (const auto& co_case : aco_cases) {
        EXPECT_THROW(co_story.v_Import(co_case.first), et_ErrorCode) << co_case.first;
        EXPECT_EQ(CT_Errors::set_GetLastError(), e_BadContent);
        EXPECT_EQ(CT_Errors::cco_GetLastError().sv(), std::string("story u1: ") + co_case.second);
        EXPECT_EQ(co_story.s_Xml(), co_xml);
    }
    // Long plain text is passed over eight bytes at a time, letters of other scripts among
    // them: a fault is found at its byte wherever it stands, after either.
    const std::pair<const char*, const char*> aco_faults[] = {
        {"\x01", "control character U+0001"},
        {"\\q", "bad escape \"\\q\""},
        {"<", "\"<\" that starts no code (escape it as \"\\<\")"},
        {"\xff", "text that is not UTF-8"},
        {"\xE4\xB8x", "text that is not UTF-8"},
        {"\xE0\x80\x80", "text that is not UTF-8"},
        {"\xEF\xBF\xBE", "text that is not UTF-8"}};
    for (const char* pc_letters : {"", "\xD0\x96\xE4\xB8\xAD"}) {
        for (std::size_t n_at = 0; n_at < 17; ++n_at) {
            const std::string s_before = std::string(n_at, 'a') + pc_letters;
            for (const auto& co_fault : aco_faults) {
                EXPECT_THROW(co_story.v_Import(s_before + co_fault.first + std::string(20, 'b')),
                             et_ErrorCode);
                EXPECT_EQ(CT_Errors::cco_GetLastError().sv(),
                          "story u1: " + std::string(co_fault.second) + " at byte " +
                              std::to_string(s_before.size()))
                    << s_before;
            }
        }
    }
}

// What ends plain text or is taken apart from it (an escape, a tab) is seen after any length
// of plain text before it.
TEST(IdmlStoryImport, EscapesAndTabsAfterLongPlainText) {
    for (std::size_t n_at = 0; n_at < 17; ++n_at) {
        CT_Story co_story("<Story Self=\"u1\"><" BODY "><" PLAIN
                          "><Content>x</Content>"
                          "</CharacterStyleRange></ParagraphStyleRange></Story>");
        // Letters of two and three bytes after it, at every place among eight bytes.
        const std::string s_before = std::string(n_at, 'a') + "\xD0\x96\xE4\xB8\xAD\xC3\xA9";
        co_story.v_Import(s_before + "\\<\t\\\\" + std::string(9, 'b') + ">\n");
        EXPECT_EQ(co_story.s_Text("//Content"), s_before + "<\t\\" + std::string(9, 'b') + ">")
            << n_at;
    }
}

}  // namespace

namespace {
// A note between two runs of text, and a run under a condition.
const std::string sco_Noted =
    "<Story Self=\"u1\"><" BODY "><" PLAIN "><Content>Text 2.</Content><Note><" BODY "><" PLAIN
    "><Content>Check this</Content></CharacterStyleRange>"
    "</ParagraphStyleRange></Note><Content> More.</Content>"
    "</CharacterStyleRange></ParagraphStyleRange></Story>";

std::string s_Around(CT_Story& co_Story, const char* pc_XPath) {
    pugi::xml_node co_node = co_Story.co_Node().select_node(pc_XPath).node();
    return std::string(co_node.previous_sibling("Content").child_value()) + "|" +
           co_node.next_sibling("Content").child_value();
}
}  // namespace

// A kept note is a paired code around its own text: translated, it stays where it was. A
// skipped note is one code and comes back whole; import takes either form.
TEST(IdmlStoryNotes, KeptTranslatedSkippedCarriedWhole) {
    CT_Story co_story(sco_Noted);
    ASSERT_EQ(co_story.s_Export(), "Text 2.<g1>Check this\n</g1> More.\n");
    EXPECT_TRUE(CT_IdmlStoryCodec::sb_IsNoteCode(co_story.co_Node(), 1));
    CT_IdmlStoryOptions co_skip;
    co_skip.b_SkipNotes = true;
    EXPECT_EQ(CT_IdmlStoryCodec::s_Export(co_story.co_Node(), co_skip), "Text 2.<x1/> More.\n");
    const std::string s_before = co_story.s_Xml();
    co_story.v_Import("Text 2.<x1/> More.\n");
    EXPECT_EQ(co_story.s_Xml(), s_before);

    co_story.v_Import("Texte 2.<g1>Vérifier\n</g1> Plus.\n");
    EXPECT_EQ(co_story.s_Text("//Note//Content"), "Vérifier");
    EXPECT_EQ(s_Around(co_story, "//Note"), "Texte 2.| Plus.");

    co_story.v_Import("Text zwei.<x1/> Mehr.\n");
    EXPECT_EQ(co_story.s_Text("//Note//Content"), "Vérifier");
    EXPECT_EQ(s_Around(co_story, "//Note"), "Text zwei.| Mehr.");
    EXPECT_EQ(co_story.s_Export(), "Text zwei.<g1>Vérifier\n</g1> Mehr.\n");

    for (const char* pc_bad : {"Text<g1>a\n</g1><x1/>\n", "Text <g1>a\n More.\n", "Text.\n"}) {
        SCOPED_TRACE(pc_bad);
        EXPECT_THROW(co_story.v_Import(pc_bad), et_ErrorCode);
        EXPECT_EQ(co_story.s_Export(), "Text zwei.<g1>Vérifier\n</g1> Mehr.\n");
    }
}

// Text under hidden conditions is one object: never shown, and after an import exactly as it
// was. Text with one shown condition among hidden ones is shown.
TEST(IdmlStoryConditions, HiddenTextStaysAsItWas) {
    const std::string s_hiddenRange =
        "<" PLAIN
        " AppliedConditions=\"Condition/Web%20Only\"><Content>Web only</Content><Br/>"
        "<Content>still web</Content></CharacterStyleRange>";
    CT_Story co_story("<Story Self=\"u1\"><" BODY "><" PLAIN
                      "><Content>Shown </Content></CharacterStyleRange>" +
                      s_hiddenRange +
                      "<" PLAIN
                      " AppliedConditions=\"Condition/Web%20Only Condition/Print\"><Content>"
                      " both</Content></CharacterStyleRange></ParagraphStyleRange></Story>");
    const std::unordered_set<std::string> co_hidden = {"Condition/Web Only"};
    CT_IdmlStoryOptions co_options;
    co_options.pco_HiddenConditions = &co_hidden;
    EXPECT_EQ(co_story.s_Export(), "Shown <g1>Web only</g1>\nstill web<g2> both</g2>\n");
    ASSERT_EQ(CT_IdmlStoryCodec::s_Export(co_story.co_Node(), co_options),
              "Shown <x1/><g2> both</g2>\n");
    CT_IdmlStoryCodec::v_Import(co_story.co_Node(), "Gezeigt <x1/><g2> beide</g2>\n",
                                CT_String("u1"), co_options);
    EXPECT_NE(co_story.s_Xml().find(s_hiddenRange), std::string::npos) << co_story.s_Xml();
    EXPECT_EQ(CT_IdmlStoryCodec::s_Export(co_story.co_Node(), co_options),
              "Gezeigt <x1/><g2> beide</g2>\n");
}

// Line ends in a row: the tree holds each run as one element, which must write out as the plain
// <Br/> elements it stands for and read back as the same content, wherever the run stands.
namespace {
struct ct_RunCase {
    const char* pc_Name;
    const std::string* pco_Story;
    const char* pc_Content;
    std::size_t n_Breaks;   // <Br/> elements the story then has
    const char* pc_Export;  // what export then gives, when not the content: a paragraph of
                            // one run of text needs no code
};

void PrintTo(const ct_RunCase& co_Case, std::ostream* pco_Out) {
    *pco_Out << co_Case.pc_Name;
}

class IdmlStoryLineEndRuns : public testing::TestWithParam<ct_RunCase> {};

TEST_P(IdmlStoryLineEndRuns, WriteOutAsPlainBreaksAndReadBackAsTheContent) {
    const ct_RunCase& co_case = GetParam();
    CT_Story co_story(*co_case.pco_Story);
    co_story.v_Import(co_case.pc_Content);
    const std::string s_content = co_story.s_Export();
    EXPECT_EQ(s_content, co_case.pc_Export ? co_case.pc_Export : co_case.pc_Content);
    EXPECT_FALSE(CT_IdmlStoryCodec::sb_Import(co_story.co_Node(), s_content, CT_String("u1")));

    CT_Story co_reread(co_story.s_Xml());
    EXPECT_EQ(co_reread.s_Xml(), co_story.s_Xml());
    EXPECT_EQ(co_reread.co_Node().select_nodes("//Br").size(), co_case.n_Breaks);
    EXPECT_EQ(co_reread.s_Export(), s_content);

    // A story that holds runs takes new content as the story read back from its file does.
    std::string s_fewer = s_content;
    for (std::size_t n = s_fewer.find("\n\n"); n != std::string::npos; n = s_fewer.find("\n\n")) {
        s_fewer.erase(n, 1);
    }
    for (const std::string& s_next : {s_fewer, "x\n\n" + s_content + "x\n\n"}) {
        CT_Story co_runs(*co_case.pco_Story);
        co_runs.v_Import(co_case.pc_Content);
        CT_Story co_copy(co_runs.s_Xml());
        co_runs.v_Import(s_next);
        co_copy.v_Import(s_next);
        EXPECT_EQ(co_runs.s_Xml(), co_copy.s_Xml()) << s_next;
        EXPECT_EQ(co_runs.s_Export(), co_copy.s_Export());
    }
}

const ct_RunCase aco_RunCases[] = {
    {"AtStart", &sco_Formatted, "\n\n\nPlain <g1>bold</g1>\n<g2>more bold</g2>, tight and plain\n",
     4, nullptr},
    {"AtEnd", &sco_Formatted, "Plain <g1>bold</g1>\n<g2>more bold</g2>, tight and plain\n\n\n\n", 4,
     nullptr},
    {"InsideAndAtTheEdgesOfCodes", &sco_Formatted,
     "Plain \n\n<g1>bold\n\n\nmore</g1> plain\n\n<g2>more bold</g2> plain\n\n\n", 9,
     "Plain \n\nbold\n\n\n<g1>more</g1> plain\n\n<g2>more bold</g2> plain\n\n\n"},
    {"AloneInTheStory", &sco_Formatted, "\n\n\n\n\n\n", 5, nullptr},
    {"InCellsNotesAndFootnotes", &sco_Structured,
     "See <x1/>the site\n\n<x2/>.<x3/><x4/>Source.\n\n\n<x5/>\n\n<x6/><x7/>\n\n\n<x8/>r0c1\n"
     "<x9/>\n\n<x10/>r1c1\n\n\n\n<x11/><g12>\n\nCheck this\n\n</g12>\n\n\n",
     17, nullptr},
};

INSTANTIATE_TEST_SUITE_P(Shapes, IdmlStoryLineEndRuns, testing::ValuesIn(aco_RunCases),
                         [](const testing::TestParamInfo<ct_RunCase>& co_Info) {
                             return std::string(co_Info.param.pc_Name);
                         });
}  // namespace

// The XML a run of new paragraphs makes, element for element: the story's own break keeps its
// place, the new ones follow in the ranges of the last paragraph, a run in a code in the code's.
TEST(IdmlStoryImport, RunsOfLineEndsBecomeParagraphsInTheirRanges) {
    CT_Story co_story(sco_Formatted);
    co_story.v_Import("\n\n\nPlain <g1>bold\n\n</g1>\n<g2>more bold</g2>\n\n");
    EXPECT_EQ(co_story.s_Xml(),
              "<Story Self=\"u1\"><StoryPreference/><" BODY "><" BOLD
              "><Properties><AppliedFont type=\"string\">Serif</AppliedFont>"
              "</Properties><Br/></CharacterStyleRange><" PLAIN
              "><Br/><Br/><Content>Plain </Content></CharacterStyleRange><" BOLD
              "><Properties><AppliedFont type=\"string\">Serif</AppliedFont>"
              "</Properties><Content>bold</Content><Br/><Br/>"
              "</CharacterStyleRange><" PLAIN "><Br/></CharacterStyleRange><" BOLD
              "><Properties><AppliedFont type=\"string\">Serif</AppliedFont>"
              "</Properties><Content>more bold</Content></CharacterStyleRange><" PLAIN
              "><Br/></CharacterStyleRange></ParagraphStyleRange></Story>");
}

// Text cut into pieces by codes that all mean the same range is one text node, whole.
TEST(IdmlStoryImport, TextInManyPiecesJoinsInOneNode) {
    CT_Story co_story(sco_Formatted);
    std::string s_content = "Plain ";
    std::string s_bold;
    for (int n = 0; n < 300; ++n) {
        const char c_letter = static_cast<char>('a' + n % 26);
        s_content +=
            (n % 3 ? "<g1>" : "<g2>") + std::string(1, c_letter) + (n % 3 ? "</g1>" : "</g2>");
        s_bold += c_letter;
    }
    co_story.v_Import(s_content + " plain\n");
    EXPECT_EQ(co_story.s_Xml(), "<Story Self=\"u1\"><StoryPreference/><" BODY "><" PLAIN
                                "><Content>Plain </Content></CharacterStyleRange><" BOLD
                                "><Properties><AppliedFont type=\"string\">Serif</AppliedFont>"
                                "</Properties><Content>" +
                                    s_bold +
                                    "</Content></CharacterStyleRange><" PLAIN
                                    "><Content> plain</Content></CharacterStyleRange>"
                                    "</ParagraphStyleRange></Story>");
}
