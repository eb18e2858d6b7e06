// What a translation tool may do to the file, and what the reader makes of it: translations
// taken segment by segment however segments were merged, split or unwrapped; codes that no
// longer match their source refused with story, unit and code named; files that are no XLIFF
// 1.2 with units refused with one error each.
#include <gtest/gtest.h>

#include <string>

#include "exchange/ct_xliff_reader.h"
#include "exchange/ct_xliff_writer.h"

namespace {
const char* const gpc_Source = "Hello <g1>big</g1> world. See<x2/> more.\\\\\n\n";

std::string s_Export() {
    CT_XliffWriter co_writer({"doc.idml", "en", "de", true});
    co_writer.v_AddStory("u7", "P2", gpc_Source, {});
    return co_writer.s_Finish();
}

// The exported file with its one target replaced.
std::string s_WithTarget(const std::string& s_Target) {
    std::string s_file = s_Export();
    const std::size_t n_start = s_file.find("<target");
    const std::size_t n_end = s_file.find("</target>") + 9;
    return s_file.replace(n_start, n_end - n_start, s_Target);
}

struct ct_Edit {
    const char* pc_Name;
    std::string s_Target;
    std::string s_Expected;  // the story's content, or the refusal
};

void PrintTo(const ct_Edit& co_Edit, std::ostream* pco_Out) {
    *pco_Out << co_Edit.pc_Name;
}

class CT_XliffReaderEditTest : public ::testing::TestWithParam<ct_Edit> {};

TEST_P(CT_XliffReaderEditTest, TakesTheTargetOrRefusesIt) {
    std::string s_result;
    try {
        s_result = CT_XliffReader(s_WithTarget(GetParam().s_Target)).cco_Stories()[0].co_Content;
    } catch (const CT_XliffReader::CT_Refusal& co_refusal) {
        s_result = co_refusal.what();
    }
    EXPECT_EQ(s_result, GetParam().s_Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Segments, CT_XliffReaderEditTest,
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
    Codes, CT_XliffReaderEditTest,
    ::testing::Values(
        ct_Edit{"missing", "<target>Hallo <g id=\"1\">Welt</g></target>",
                "story u7, unit u7.1: the target lacks code <x2/> of its source"},
        ct_Edit{"renamed", "<target><g id=\"1\">A</g><x id=\"3\"/></target>",
                "story u7, unit u7.1: the target lacks code <x2/> of its source"},
        ct_Edit{"extra", "<target><g id=\"1\">A</g><x id=\"2\"/><g id=\"4\">B</g></target>",
                "story u7, unit u7.1: the target has code <g4> that its source does not have"},
        ct_Edit{"twice", "<target><g id=\"1\">A</g><x id=\"2\"/><x id=\"2\"/></target>",
                "story u7, unit u7.1: the target has code <x2/> more often than its source"},
        ct_Edit{"misnested", "<target><ex id=\"1\"/><x id=\"2\"/><bx id=\"1\"/></target>",
                "story u7, unit u7.1: the target closes code </g1> out of order"},
        ct_Edit{"foreign element", "<target><ph id=\"1\">x</ph></target>",
                "story u7, unit u7.1: <ph> is no code of this file"},
        ct_Edit{"bad number", "<target><g id=\"01\">A</g><x id=\"2\"/></target>",
                "story u7, unit u7.1: <g> has id \"01\", which is no code number of this file"},
        ct_Edit{"number past nine digits",
                "<target><g id=\"1\">A</g><x id=\"4294967298\"/></target>",
                "story u7, unit u7.1: <x> has id \"4294967298\", which is no code number of this "
                "file"}),
    [](const auto& co_Info) { return std::to_string(co_Info.index); });

// What XML carries but a unit's paragraph cannot: a line end would make two paragraphs of one
// in the document; a surrogate half or a number past U+10FFFF is no character.
INSTANTIATE_TEST_SUITE_P(
    Text, CT_XliffReaderEditTest,
    ::testing::Values(
        ct_Edit{"line end as a character reference",
                "<target>Hallo&#13;<g id=\"1\">A</g><x id=\"2\"/></target>",
                "story u7, unit u7.1: the target breaks a line, and a unit is one paragraph: join "
                "its lines"},
        ct_Edit{"reference to a surrogate",
                "<target>Hallo&#xD800;<g id=\"1\">A</g><x id=\"2\"/></target>",
                "story u7, unit u7.1: the target holds a character that does not exist (a "
                "surrogate or a code past U+10FFFF)"},
        ct_Edit{"reference past the last character",
                "<target><g id=\"1\">A&#x1111111111111114;</g><x id=\"2\"/></target>",
                "story u7, unit u7.1: the target holds a character that does not exist (a "
                "surrogate or a code past U+10FFFF)"},
        ct_Edit{"line ends of an indented target",
                "<target>\n  <mrk mtype=\"seg\" mid=\"1\"><g id=\"1\">A</g><x "
                "id=\"2\"/></mrk>\n</target>",
                "story u7, unit u7.1: the target breaks a line, and a unit is one paragraph: join "
                "its lines"}),
    [](const auto& co_Info) { return std::to_string(co_Info.index); });

TEST(CT_XliffReaderTest, CharacterCodesGiveTheirCharacterOrAreRefused) {
    auto s_Read = [](const std::string& s_Equiv) {
        CT_XliffWriter co_writer({"doc.idml", "en", "de", true});
        co_writer.v_AddStory("u7", "P2",
                             "A\x07"
                             "B\n",
                             {});
        std::string s_file = co_writer.s_Finish();
        const std::string s_written = "equiv-text=\"U+0007\"";
        std::size_t n_at = 0;
        while ((n_at = s_file.find(s_written, n_at)) != std::string::npos) {
            s_file.replace(n_at, s_written.size(), "equiv-text=\"" + s_Equiv + "\"");
            ++n_at;
        }
        try {
            return CT_XliffReader(s_file).cco_Stories()[0].co_Content;
        } catch (const CT_XliffReader::CT_Refusal& co_refusal) {
            return std::string(co_refusal.what());
        }
    };
    EXPECT_EQ(s_Read("U+0007"),
              "A\x07"
              "B\n");
    EXPECT_EQ(s_Read("U+00E4"),
              "A\xC3\xA4"
              "B\n");
    for (const char* pc_equiv : {"U+D800", "U+DFFF", "U+000A", "U+000D", "U+10000", "x"}) {
        SCOPED_TRACE(pc_equiv);
        EXPECT_EQ(s_Read(pc_equiv),
                  "story u7, unit u7.1: character code c1 does not say its character "
                  "(equiv-text)");
    }
}

TEST(CT_XliffReaderTest, UntranslatedUnitsAreNamedAndKeepTheirSource) {
    for (const std::string& s_target :
         {std::string(), std::string("<target></target>"),
          std::string(
              "<target>Hello <g id=\"1\">big</g> world. See<x id=\"2\"/> more.\\</target>")}) {
        SCOPED_TRACE(s_target);
        const CT_XliffReader co_reader(s_WithTarget(s_target));
        EXPECT_EQ(co_reader.cco_Untranslated(), (std::vector<std::string>{"u7.1"}));
        EXPECT_EQ(co_reader.cco_Stories()[0].co_Content, gpc_Source);
        EXPECT_EQ(co_reader.n_Units(), 2u);  // the empty paragraph is a unit too
    }
}

TEST(CT_XliffReaderTest, FilesThatCannotBeImportedGetOneClearError) {
    const struct {
        std::string s_File;
        std::string s_Error;
    } aco_cases[] = {
        {"<?xml version=\"1.0\"?>\n<xliff version=\"1.2\">\n  <file><body></bod></file></xliff>",
         "not well-formed XML at line 3, column 17: Start-end tags mismatch"},
        {"<xliff version=\"2.0\" xmlns=\"urn:oasis:names:tc:xliff:document:2.0\"/>",
         "XLIFF 2.0 is not read: save the translation as XLIFF 1.2"},
        {"<html/>", "not an XLIFF file: its root element is <html>"},
        {"<xliff version=\"1.2\"><file original=\"a\"><body><group "
         "resname=\"u1\"/></body></file></xliff>",
         "the file holds no translation units"},
        {"<xliff version=\"1.2\"><file><body><group resname=\"u1\"><trans-unit id=\"1\">\n"
         "<source>ab\xC3\x28</source></trans-unit></group></body></file></xliff>",
         "not well-formed XML at line 2, column 11: bytes that are not UTF-8"},
        {"<xliff version=\"1.2\"><file><body><group resname=\"u&quot;1\"><trans-unit "
         "id=\"1\"><source>a</source></trans-unit></group></body></file></xliff>",
         "story \"u\"1\": a story key holds no quote, \"<\", \">\", line end or character that "
         "does not exist"},
        {"<xliff version=\"1.2\"><file><body><group resname=\"u&#xDFFF;\"><trans-unit "
         "id=\"1\"><source>a</source></trans-unit></group></body></file></xliff>",
         "story \"u\xED\xBF\xBF\": a story key holds no quote, \"<\", \">\", line end or "
         "character that does not exist"},
        {"<xliff version=\"1.2\"><file><body><group resname=\"u1\"><trans-unit "
         "id=\"1\"><source>a<x id=\"1\"/></source></trans-unit><group id=\"n\" "
         "extradata=\"1 4294967299\"><trans-unit id=\"2\"><source>b</source></trans-unit>"
         "</group></group></body></file></xliff>",
         "story u1, unit n: the group does not say which codes it stands between (extradata)"},
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
