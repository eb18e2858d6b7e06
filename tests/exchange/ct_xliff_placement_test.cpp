// What a translation tool may do to the file, and what laying it over the document makes of
// it: units placed by their ids whatever the file's order or number of <file>s; a paragraph the
// file lacks kept, a unit of no paragraph or seen twice left out and named; targets taken
// however segments were merged, split or unwrapped, counted translated as the tool marked
// them; codes that no longer match their source, and text no document can hold, named with
// unit and line; files that are no XLIFF 1.2 with units refused with one error each.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "exchange/ct_xliff_placement.h"
#include "exchange/ct_xliff_reader.h"
#include "exchange/ct_xliff_writer.h"

namespace {
using et_Finding = CT_XliffFinding::et_Kind;
using et_Code = CT_ExchangeCode::et_Kind;

const char* const gpc_Source = "Hello <g1>big</g1> world. See<x2/> more.\\\\\n\n";

// Codes 3-4 a footnote, the story's last paragraph ends in it.
const CT_StoryLayout::CT_Codes gco_Codes = [] {
    CT_StoryLayout::CT_Codes co_codes;
    co_codes[3].eo_Kind = et_Code::e_FlowOpen;
    co_codes[3].co_Label = "footnote";
    co_codes[4].eo_Kind = et_Code::e_FlowClose;
    return co_codes;
}();

std::string s_Export(const std::string& s_Content = gpc_Source,
                     const CT_StoryLayout::CT_Codes& co_Codes = {}) {
    CT_XliffWriter co_writer({"doc.idml", "en", "de", true});
    co_writer.v_AddStory("u7", "P2", s_Content, co_Codes);
    return co_writer.s_Finish();
}

struct ct_Result {
    std::string s_Content;  // of story u7
    std::vector<CT_XliffFinding> co_Findings;

    // The findings as "KIND UNIT[ CODE]", in order.
    std::vector<std::string> co_Kinds() const {
        std::vector<std::string> co_kinds;
        for (const CT_XliffFinding& co_finding : co_Findings) {
            co_kinds.push_back(std::string(co_finding.pc_KindName()) + " " + co_finding.co_Unit +
                               (co_finding.co_Code.empty() ? "" : " " + co_finding.co_Code));
        }
        return co_kinds;
    }
};

// The file laid over a document whose story u7 is s_Document (and that has no other story).
ct_Result co_Place(const std::string& s_File, const std::string& s_Document = gpc_Source,
                   const CT_StoryLayout::CT_Codes& co_Codes = {}) {
    const CT_XliffReader co_reader(s_File);
    ct_Result co_result;
    const std::vector<CT_TaggedStory> co_stories = CT_XliffPlacement::sco_PlaceAll(
        co_reader,
        [&](const std::string& s_Key, std::vector<CT_StoryLayout>& co_Layouts) {
            if (s_Key != "u7") {
                return false;
            }
            co_Layouts.emplace_back(s_Document, co_Codes);
            return true;
        },
        co_result.co_Findings);
    for (const CT_TaggedStory& co_story : co_stories) {
        co_result.s_Content = co_story.co_Content;
    }
    return co_result;
}

// The exported file with the target of unit N replaced.
std::string s_WithTarget(std::string s_File, const std::string& s_Target, int n_Unit = 1) {
    std::size_t n_start = s_File.find("<trans-unit id=\"u7." + std::to_string(n_Unit) + "\"");
    n_start = s_File.find("<target", n_start);
    const std::size_t n_end = s_File.find("</target>", n_start) + 9;
    return s_File.replace(n_start, n_end - n_start, s_Target);
}

struct ct_Edit {
    const char* pc_Name;
    std::string s_Target;
    std::string s_Expected;  // the story's content, or what the first finding says
    std::size_t n_Line = 7;  // of the finding: the unit's, or the reference's in the target
};

void PrintTo(const ct_Edit& co_Edit, std::ostream* pco_Out) {
    *pco_Out << co_Edit.pc_Name;
}

class CT_XliffPlacementEditTest : public ::testing::TestWithParam<ct_Edit> {};

TEST_P(CT_XliffPlacementEditTest, TakesTheTargetOrNamesWhyNot) {
    const ct_Result co_result = co_Place(s_WithTarget(s_Export(), GetParam().s_Target));
    if (co_result.co_Findings.empty()) {
        EXPECT_EQ(co_result.s_Content, GetParam().s_Expected);
    } else {
        EXPECT_EQ(co_result.co_Findings[0].co_What(), GetParam().s_Expected);
        EXPECT_EQ(co_result.co_Findings[0].eo_Weight(), CT_XliffFinding::e_Error);
        EXPECT_EQ(co_result.co_Findings[0].n_Line, GetParam().n_Line);
        // Refused content never reaches the story.
        EXPECT_EQ(co_result.s_Content, gpc_Source);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Segments, CT_XliffPlacementEditTest,
    ::testing::Values(ct_Edit{"segments kept",
                              "<target><mrk mtype=\"seg\" mid=\"1\">Hallo <g id=\"1\">gro\xC3\x9F"
                              "e</g> Welt.</mrk> <mrk mtype=\"seg\" mid=\"2\">Siehe<x id=\"2\"/> "
                              "mehr.\\</mrk></target>",
                              "Hallo <g1>gro\xC3\x9F"
                              "e</g1> Welt. Siehe<x2/> mehr.\\\\\n\n"},
                      ct_Edit{"segments merged into one",
                              "<target><mrk mtype=\"seg\" mid=\"1\">Mehr<x id=\"2\"/> <g "
                              "id=\"1\">A</g>.</mrk></target>",
                              "Mehr<x2/> <g1>A</g1>.\n\n"},
                      ct_Edit{"markers dropped, escapes and entities",
                              "<target>&lt;B&gt;<x id=\"2\"/><g id=\"1\"/>&amp;</target>",
                              "\\<B\\><x2/><g1></g1>&\n\n"},
                      ct_Edit{"codes moved and paired codes as bx and ex",
                              "<target><x id=\"2\"/><bx id=\"1\"/>B<ex id=\"1\"/></target>",
                              "<x2/><g1>B</g1>\n\n"}),
    [](const auto& co_Info) { return std::to_string(co_Info.index); });

INSTANTIATE_TEST_SUITE_P(
    Codes, CT_XliffPlacementEditTest,
    ::testing::Values(
        ct_Edit{"missing", "<target>Hallo <g id=\"1\">Welt</g></target>",
                "the target lacks code <x2/> of its source"},
        ct_Edit{"extra", "<target><g id=\"1\">A</g><x id=\"2\"/><g id=\"4\">B</g></target>",
                "the target has code <g4> that its source does not have"},
        ct_Edit{"twice", "<target><g id=\"1\">A</g><x id=\"2\"/><x id=\"2\"/></target>",
                "the target has code <x2/> more often than its source"},
        ct_Edit{"misnested", "<target><ex id=\"1\"/><x id=\"2\"/><bx id=\"1\"/></target>",
                "the target closes code </g1> out of order"},
        ct_Edit{"foreign element", "<target><ph id=\"1\">x</ph></target>",
                "<ph> is no code of this file"},
        ct_Edit{"number past nine digits",
                "<target><g id=\"1\">A</g><x id=\"4294967298\"/></target>",
                "<x> has id \"4294967298\", which is no code number of this file"}),
    [](const auto& co_Info) { return std::to_string(co_Info.index); });

// What XML carries but a document's paragraph cannot: a line end would make two paragraphs of
// one; NUL, a surrogate half or a number past U+10FFFF is no character; an entity XLIFF does
// not define is no text (the parser would keep it as its literal name).
INSTANTIATE_TEST_SUITE_P(
    Text, CT_XliffPlacementEditTest,
    ::testing::Values(
        ct_Edit{"line end as a character reference",
                "<target>Hallo&#13;<g id=\"1\">A</g><x id=\"2\"/></target>",
                "the target breaks a line, and a unit is one paragraph: join its lines"},
        ct_Edit{"reference to NUL", "<target>Hal&#x0;lo<g id=\"1\">A</g><x id=\"2\"/></target>",
                "the text holds a reference to the character NUL (&#x0;), which no document can "
                "hold",
                10},
        ct_Edit{"reference to a surrogate",
                "<target>Hallo&#xD800;<g id=\"1\">A</g><x id=\"2\"/></target>",
                "the text holds a reference to no character (&#xD800;): a surrogate or a code "
                "past U+10FFFF",
                10},
        ct_Edit{"undefined entity", "<target>Hallo&nbsp;<g id=\"1\">A</g><x id=\"2\"/></target>",
                "the text holds the entity &nbsp;, which XLIFF does not define (only &amp; &lt; "
                "&gt; &quot; &apos; are): write its character instead",
                10},
        ct_Edit{"line ends of an indented target",
                "<target>\n  <mrk mtype=\"seg\" mid=\"1\"><g id=\"1\">A</g><x "
                "id=\"2\"/></mrk>\n</target>",
                "the target breaks a line, and a unit is one paragraph: join its lines"}),
    [](const auto& co_Info) { return std::to_string(co_Info.index); });

// A story of twelve paragraphs, the last with a footnote of two, each target "T" and the
// unit's number: whatever a tool does to the order of units, each lands in its paragraph.
class CT_XliffPlacementOrderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int n = 1; n <= 12; ++n) {
            s_Document += "P" + std::to_string(n) + (n == 12 ? "<x3/>F13\nF14\n<x4/>\n" : "\n");
        }
        const std::string s_file = s_Export(s_Document, gco_Codes);
        s_Head = s_file.substr(0, s_file.find("<trans-unit"));
        s_Tail = "</group>\n" + s_file.substr(s_file.rfind("</group>") + 9);
        for (std::size_t n_at = s_file.find("<trans-unit"); n_at != std::string::npos;
             n_at = s_file.find("<trans-unit", n_at + 1)) {
            std::string s_unit =
                s_file.substr(n_at, s_file.find("</trans-unit>", n_at) + 14 - n_at);
            const std::string s_number = std::to_string(co_Units.size() + 1);
            // The target's text, P1..P12, F13, F14, becomes T and the number.
            const std::string s_text = (co_Units.size() < 12 ? "P" : "F") + s_number;
            s_unit.replace(s_unit.find(">" + s_text + "<", s_unit.find("<target")) + 1,
                           s_text.size(), "T" + s_number);
            co_Units.push_back(s_unit);
        }
    }
    std::string s_File(const std::vector<std::string>& co_Units) const {
        std::string s_file = s_Head;
        for (const std::string& s_unit : co_Units) {
            s_file += s_unit;
        }
        return s_file + s_Tail;
    }
    std::string s_Translated() const {
        std::string s_translated;
        for (int n = 1; n <= 12; ++n) {
            s_translated += "T" + std::to_string(n) + (n == 12 ? "<x3/>T13\nT14\n<x4/>\n" : "\n");
        }
        return s_translated;
    }

    std::string s_Document;
    std::string s_Head;
    std::string s_Tail;
    std::vector<std::string> co_Units;  // u7.1 ... u7.14
};

TEST_F(CT_XliffPlacementOrderTest, UnitsLandByIdWhateverTheOrder) {
    ASSERT_EQ(co_Units.size(), 14u);
    std::vector<std::string> co_reversed(co_Units.rbegin(), co_Units.rend());
    // Sorted as strings by id: u7.1, u7.10, u7.11, ..., u7.2, ...
    std::vector<std::string> co_sorted = co_Units;
    std::sort(co_sorted.begin(), co_sorted.end());
    for (const auto& co_order : {co_Units, co_reversed, co_sorted}) {
        const ct_Result co_result = co_Place(s_File(co_order), s_Document, gco_Codes);
        EXPECT_EQ(co_result.s_Content, s_Translated());
        EXPECT_TRUE(co_result.co_Findings.empty()) << co_result.co_Kinds()[0];
    }
}

TEST_F(CT_XliffPlacementOrderTest, MissingUnknownAndTwiceAreNamedAndNothingIsLost) {
    std::vector<std::string> co_units = co_Units;
    co_units.erase(co_units.begin() + 12);  // u7.13, the footnote's first paragraph
    co_units.erase(co_units.begin() + 4);   // u7.5
    std::string s_unknown = co_Units[0];
    s_unknown.replace(s_unknown.find("u7.1\""), 5, "u7.99\"");
    co_units.push_back(s_unknown);
    std::string s_noNumber = co_Units[1];
    s_noNumber.replace(s_noNumber.find("u7.2\""), 5, "u7.x\"");
    co_units.push_back(s_noNumber);
    std::string s_twice = co_Units[2];
    s_twice.replace(s_twice.find(">T3<"), 4, ">again<");
    co_units.push_back(s_twice);
    // A key no tagged file can name, which a fuzzer once sent through as a story of its own.
    std::string s_quoted = co_Units[0];
    s_quoted.replace(s_quoted.find("u7.1\""), 5, "u7&quot;.1\"");
    co_units.push_back(s_quoted);
    const ct_Result co_result = co_Place(s_File(co_units), s_Document, gco_Codes);
    std::string s_expected = s_Translated();
    s_expected.replace(s_expected.find("T5\n"), 2, "P5");
    s_expected.replace(s_expected.find("T13\n"), 3, "F13");
    EXPECT_EQ(co_result.s_Content, s_expected);
    EXPECT_EQ(co_result.co_Kinds(),
              (std::vector<std::string>{"unknown-unit u7.99", "unknown-unit u7.x",
                                        "duplicate-unit u7.3", "unknown-unit u7\".1",
                                        "missing-unit u7.5", "missing-unit u7.13"}));
    EXPECT_EQ(co_result.co_Findings[2].co_What(),
              "the id stands in the file a second time (first on line 19); the later unit is not "
              "read");
    EXPECT_EQ(co_result.co_Findings[0].eo_Weight(), CT_XliffFinding::e_Difference);
    EXPECT_EQ(co_result.co_Findings[4].eo_Weight(), CT_XliffFinding::e_NotTranslated);
}

// A tool may split a document over several <file>s (or append one): every unit of every file
// is read.
TEST_F(CT_XliffPlacementOrderTest, UnitsOfEveryFileAreRead) {
    std::string s_file = s_Head;
    for (std::size_t n = 0; n < co_Units.size(); ++n) {
        if (n == 7) {
            s_file +=
                "</group></body></file><file original=\"doc.idml\" source-language=\"en\" "
                "target-language=\"de\" datatype=\"x-idml\"><body>";
        }
        s_file += co_Units[n];
    }
    s_file += "</body></file></xliff>";
    const CT_XliffReader co_reader(s_file);
    ASSERT_EQ(co_reader.cco_Files().size(), 2u);
    EXPECT_EQ(co_reader.cco_Files()[1].n_Line, co_reader.cco_Units()[7].n_Line);
    const ct_Result co_result = co_Place(s_file, s_Document, gco_Codes);
    EXPECT_EQ(co_result.s_Content, s_Translated());
    EXPECT_TRUE(co_result.co_Findings.empty());
}

// A unit is translated as its tool marks it: done states even when the text is the source's
// ("3 h" stays "3 h" in French); otherwise only a target that differs from its source. Units
// in a review state count and are listed.
TEST(CT_XliffPlacementTest, TranslatedIsWhatTheToolSays) {
    const std::string s_same = "Hello <g id=\"1\">big</g> world. See<x id=\"2\"/> more.\\";
    const std::string s_other = "Hallo <g id=\"1\">gro\xC3\x9F</g>. Siehe<x id=\"2\"/>.";
    const struct {
        std::string s_Target;
        std::vector<std::string> co_Kinds;
    } aco_cases[] = {
        {"<target state=\"translated\">" + s_same + "</target>", {}},
        {"<target state=\"final\">" + s_same + "</target>", {}},
        {"<target state=\"signed-off\">" + s_same + "</target>", {}},
        {"<target state=\"needs-review-translation\">" + s_same + "</target>", {"review u7.1"}},
        {"<target state=\"needs-translation\">" + s_other + "</target>", {}},  // OmegaT's way
        {"<target>" + s_other + "</target>", {}},
        {"<target state=\"needs-translation\">" + s_same + "</target>", {"untranslated u7.1"}},
        {"<target state=\"new\">" + s_same + "</target>", {"untranslated u7.1"}},
        {"<target state=\"final\"></target>", {"untranslated u7.1"}},
        {"", {"untranslated u7.1"}},
    };
    for (const auto& co_case : aco_cases) {
        SCOPED_TRACE(co_case.s_Target);
        const ct_Result co_result = co_Place(s_WithTarget(s_Export(), co_case.s_Target));
        EXPECT_EQ(co_result.co_Kinds(), co_case.co_Kinds);
    }
    // approved="yes" on the unit says the same as a done state.
    std::string s_approved = s_Export();
    s_approved.replace(s_approved.find("<trans-unit id=\"u7.1\""), 21,
                       "<trans-unit id=\"u7.1\" approved=\"yes\"");
    s_approved = s_WithTarget(s_approved, "<target>" + s_same + "</target>");
    EXPECT_TRUE(co_Place(s_approved).co_Findings.empty());
}

// The document changed since the export: the source is compared with the paragraph its id
// names, and both texts are named. A translation of the old text goes in (when accepted) only
// if its codes are the new paragraph's.
TEST(CT_XliffPlacementTest, ASourceThatIsNotTheDocumentsTextIsNamed) {
    const std::string s_file = s_WithTarget(
        s_Export(), "<target state=\"final\">Hallo <g id=\"1\">A</g><x id=\"2\"/></target>");
    ct_Result co_result = co_Place(s_file, "Hello <g1>big</g1> world, edited.<x2/>\n\n");
    EXPECT_EQ(co_result.co_Kinds(), (std::vector<std::string>{"source-differs u7.1"}));
    EXPECT_EQ(co_result.co_Findings[0].co_What(),
              "the source is not the document's text, which changed since the export: \"Hello "
              "big world. See more.\\\" in the file, \"Hello big world, edited.\" in the "
              "document");
    EXPECT_EQ(co_result.s_Content, "Hallo <g1>A</g1><x2/>\n\n");
    co_result = co_Place(s_file, "Hello <g1>big</g1> world, edited.\n\n");
    EXPECT_EQ(co_result.s_Content, "Hello <g1>big</g1> world, edited.\n\n");
    // The same translation imported a second time finds the document as the first left it.
    co_result = co_Place(s_file, "Hallo <g1>A</g1><x2/>\n\n");
    EXPECT_TRUE(co_result.co_Findings.empty());
    EXPECT_EQ(co_result.s_Content, "Hallo <g1>A</g1><x2/>\n\n");
}

// A story with a note may have gone out with the note left out (one code): the units then
// match the layout without the note's paragraphs, which are not missing.
TEST(CT_XliffPlacementTest, ANoteLeftOutOfTheExportIsNotMissing) {
    CT_StoryLayout::CT_Codes co_kept;
    co_kept[10].eo_Kind = et_Code::e_FlowAround;
    co_kept[10].co_Label = "note";
    const std::string s_kept = "Before<g10>The note.\n</g10> after.\nEnd.\n";
    const std::string s_skipped = "Before<x10/> after.\nEnd.\n";
    for (const bool b_skipped : {false, true}) {
        SCOPED_TRACE(b_skipped);
        std::string s_file = b_skipped ? s_Export(s_skipped) : s_Export(s_kept, co_kept);
        const std::string s_end = ">End.</mrk></target>";
        s_file.replace(s_file.find(s_end), s_end.size(), ">Fin.</mrk></target>");
        for (std::size_t n_at; (n_at = s_file.find("needs-translation")) != std::string::npos;) {
            s_file.replace(n_at, 17, "final");
        }
        const CT_XliffReader co_reader(s_file);
        std::vector<CT_XliffFinding> co_findings;
        const std::vector<CT_TaggedStory> co_stories = CT_XliffPlacement::sco_PlaceAll(
            co_reader,
            [&](const std::string&, std::vector<CT_StoryLayout>& co_Layouts) {
                co_Layouts.emplace_back(s_kept, co_kept);
                co_Layouts.emplace_back(s_skipped, CT_StoryLayout::CT_Codes());
                return true;
            },
            co_findings);
        EXPECT_TRUE(co_findings.empty()) << co_findings[0].co_Text("f");
        EXPECT_EQ(co_stories[0].co_Content,
                  std::string(b_skipped ? "Before<x10/> after.\n"
                                        : "Before<g10>The note.\n</g10> after.\n") +
                      "Fin.\n");
    }
}

TEST(CT_XliffPlacementTest, FilesThatCannotBeImportedGetOneClearError) {
    const struct {
        std::string s_File;
        std::string s_Error;
    } aco_cases[] = {
        {"<?xml version=\"1.0\"?>\n<xliff version=\"1.2\">\n  <file><body></bod></file></xliff>",
         "not well-formed XML at line 3, column 17: Start-end tags mismatch"},
        {"<xliff version=\"2.0\" xmlns=\"urn:oasis:names:tc:xliff:document:2.0\"/>",
         "XLIFF 2.0 is not read: save the translation as XLIFF 1.2"},
        {"<xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:2.0\"/>",
         "the file says it is XLIFF 1.2 but its namespace is XLIFF 2's "
         "(urn:oasis:names:tc:xliff:document:2.0): give it the namespace "
         "urn:oasis:names:tc:xliff:document:1.2"},
        {"<html/>", "not an XLIFF file: its root element is <html>"},
        {"<xliff version=\"1.2\"><file original=\"a\"><body><group "
         "resname=\"u1\"/></body></file></xliff>",
         "the file holds no translation units"},
        {"<xliff version=\"1.2\"><file><body><group resname=\"u1\"><trans-unit id=\"1\">\n"
         "<source>ab\xC3\x28</source></trans-unit></group></body></file></xliff>",
         "not well-formed XML at line 2, column 11: bytes that are not UTF-8"},
        {"<xliff version=\"1.2\"><file><header><note>&nbsp;</note></header>\n<body><trans-unit "
         "id=\"u1.1\"><source>a</source></trans-unit></body></file></xliff>",
         "not well-formed XML at line 1, column 42: the text holds the entity &nbsp;, which "
         "XLIFF does not define (only &amp; &lt; &gt; &quot; &apos; are): write its character "
         "instead"},
    };
    for (const auto& co_case : aco_cases) {
        SCOPED_TRACE(co_case.s_File);
        try {
            CT_XliffReader co_reader(co_case.s_File);
            ADD_FAILURE() << "read";
        } catch (const CT_XliffReader::CT_Refusal& co_refusal) {
            EXPECT_EQ(std::string(co_refusal.what()), co_case.s_Error);
        }
    }
}

}  // namespace
