// The story codec on every story of the third-party sample packages: exact content of small
// stories, untouched round trips, pseudo-translations that keep every formatting and object.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/host/idml/ct_idml_story_break_run.h"
#include "platform/host/idml/ct_idml_story_codec.h"
#include "platform/host/idml/ct_idml_story_plain_text.h"
#include "tests/platform/host/idml/ct_idml_story_samples.h"

namespace {

using namespace idml_test;

const char* const pc_Open = "\u27e6";  // markers of the pseudo-translation
const char* const pc_Close = "\u27e7";

// Every piece of text between codes and line ends, marked: "Text" becomes "⟦Text⟧".
std::string s_Pseudo(const std::string& co_Content) {
    std::string co_out;
    std::string co_piece;
    auto v_Flush = [&]() {
        if (!co_piece.empty()) {
            co_out += pc_Open + co_piece + pc_Close;
        }
        co_piece.clear();
    };
    for (std::size_t n = 0; n < co_Content.size(); ++n) {
        if (co_Content[n] == '<' || co_Content[n] == '\n') {
            v_Flush();
            std::size_t n_end = co_Content[n] == '<' ? co_Content.find('>', n) : n;
            co_out += co_Content.substr(n, n_end - n + 1);
            n = n_end;
            continue;
        }
        std::size_t n_length = co_Content[n] == '\\' ? 2 : 1;
        co_piece += co_Content.substr(n, n_length);
        n += n_length - 1;
    }
    v_Flush();
    return co_out;
}

// A translation that keeps every code where it was: each run of letters (ASCII or any
// character beyond it) outside the codes becomes "[run~]", digits, spaces and punctuation stay.
// Letters grow unevenly against the rest, as real translations make them.
std::string s_LetterPseudo(const std::string& co_Content) {
    std::string co_out;
    bool b_inWord = false;
    for (std::size_t n = 0; n < co_Content.size(); ++n) {
        unsigned char c = static_cast<unsigned char>(co_Content[n]);
        bool b_letter = c >= 0x80 || std::isalpha(c);
        if (b_letter != b_inWord) {
            co_out += b_letter ? "[" : "~]";
            b_inWord = b_letter;
        }
        if (c == '<') {
            std::size_t n_end = co_Content.find('>', n);
            co_out.append(co_Content, n, n_end - n + 1);
            n = n_end;
            continue;
        }
        std::size_t n_length = c == '\\' ? 2 : 1;
        co_out.append(co_Content, n, n_length);
        n += n_length - 1;
    }
    return co_out + (b_inWord ? "~]" : "");
}

// Another word order: in each line that holds only formatting codes, the text before the first
// code moves to the end of the line ("Press <g1>OK</g1> now" becomes "<g1>OK</g1> nowPress ").
std::string s_Reordered(const std::string& co_Content) {
    std::string co_out;
    std::istringstream co_lines(co_Content);
    for (std::string co_line; std::getline(co_lines, co_line);) {
        std::size_t n_code = 0;
        while (n_code < co_line.size() && co_line[n_code] != '<') {
            n_code += co_line[n_code] == '\\' ? 2 : 1;
        }
        if (n_code > 0 && n_code < co_line.size() && co_line.find("<x") == std::string::npos) {
            co_line = co_line.substr(n_code) + co_line.substr(0, n_code);
        }
        co_out += co_line + "\n";
    }
    return co_out;
}

// What a reader of the story sees, independent of how ranges are cut: each character with the
// paragraph and character formatting it gets (spacing aside), the hyperlinks, XML elements and
// tracked changes around it; objects and structures as their XML.
class CT_Rendering {
  public:
    explicit CT_Rendering(const pugi::xml_node& co_Story) { v_Walk(co_Story, "", "", ""); }

    // Runs as "style\ttext" lines; the pseudo-translation markers removed.
    std::string s_Text() const {
        std::string co_out;
        for (const auto& co_run : co_Runs) {
            co_out += co_run.first + "\t" + co_run.second + "\n";
        }
        return co_out;
    }

  private:
    static bool sb_IsSpacing(const char* pc_Name) {
        for (const char* pc : {"Tracking", "KerningMethod", "KerningValue", "Leading",
                               "HorizontalScale", "LeadingAki", "TrailingAki", "Tsume"}) {
            if (std::strcmp(pc, pc_Name) == 0) {
                return true;
            }
        }
        return false;
    }
    static std::string s_Style(const pugi::xml_node& co_Range) {
        std::vector<std::string> co_parts;
        for (const pugi::xml_attribute& co_attribute : co_Range.attributes()) {
            if (!sb_IsSpacing(co_attribute.name())) {
                co_parts.push_back(std::string(co_attribute.name()) + "=" + co_attribute.value());
            }
        }
        for (const pugi::xml_node& co_property : co_Range.child("Properties").children()) {
            if (co_property.type() == pugi::node_element && !sb_IsSpacing(co_property.name())) {
                co_parts.push_back(std::string(co_property.name()) + "=" +
                                   co_property.child_value());
            }
        }
        std::sort(co_parts.begin(), co_parts.end());
        std::string co_out;
        for (const std::string& co_part : co_parts) {
            co_out += co_part + " ";
        }
        return co_out;
    }
    static std::string s_Xml(const pugi::xml_node& co_Node) {
        std::ostringstream co_out;
        co_Node.print(co_out, "", pugi::format_raw);
        return co_out.str();
    }
    void v_Add(const std::string& co_Style, std::string co_Text) {
        for (const char* pc_marker : {pc_Open, pc_Close}) {
            for (std::size_t n; (n = co_Text.find(pc_marker)) != std::string::npos;) {
                co_Text.erase(n, std::strlen(pc_marker));
            }
        }
        if (co_Text.empty()) {
            return;
        }
        if (!co_Runs.empty() && co_Runs.back().first == co_Style) {
            co_Runs.back().second += co_Text;
            return;
        }
        co_Runs.emplace_back(co_Style, co_Text);
    }
    void v_Walk(const pugi::xml_node& co_Parent, const std::string& co_Psr,
                const std::string& co_Csr, const std::string& co_Around) {
        for (const pugi::xml_node& co_node : co_Parent.children()) {
            std::string co_name = co_node.name();
            std::string co_self = co_node.attribute("Self").value();
            if (co_node.type() == pugi::node_pcdata) {
                if (co_name.empty() && std::strcmp(co_Parent.name(), "Content") == 0) {
                    v_Add(co_Psr + "|" + co_Csr + "|" + co_Around, co_node.value());
                }
            } else if (co_node.type() != pugi::node_element) {
                v_Add("object", s_Xml(co_node));
            } else if (co_name == "ParagraphStyleRange") {
                v_Walk(co_node, s_Style(co_node), co_Csr, co_Around);
            } else if (co_name == "CharacterStyleRange") {
                v_Walk(co_node, co_Psr, s_Style(co_node), co_Around);
            } else if (co_name == "Content") {
                v_Walk(co_node, co_Psr, co_Csr, co_Around);
            } else if (co_name == "Br" || CT_IdmlStoryBreakRun::sb_IsRun(co_node)) {
                v_Add(co_Psr + "|break|" + co_Around,
                      std::string(CT_IdmlStoryBreakRun::sn_Count(co_node), '\n'));
            } else if (co_name == "HyperlinkTextSource" || co_name == "XMLElement") {
                v_Walk(co_node, co_Psr, co_Csr, co_Around + co_self + " ");
            } else if (co_name == "Change" &&
                       std::strcmp(co_node.attribute("ChangeType").value(), "DeletedText") != 0) {
                v_Walk(co_node, co_Psr, co_Csr, co_Around + s_Style(co_node));
            } else if (co_name == "Footnote" || co_name == "Note" || co_name == "Cell" ||
                       co_name == "Table") {
                v_Add("object", "<" + co_name + " " + s_Style(co_node) + ">");
                v_Walk(co_node, "", "", "");
                v_Add("object", "</" + co_name + ">");
            } else if (co_name != "Properties" && co_name != "XMLAttribute" &&
                       co_name != "StoryPreference" && co_name != "InCopyExportOption" &&
                       co_name != "MetadataPacketPreference") {
                v_Add("object", s_Xml(co_node));
            }
        }
    }

    std::vector<std::pair<std::string, std::string>> co_Runs;
};

std::string s_PlainOf(const std::string& co_Content) {
    std::string co_text;
    CT_IdmlStoryPlainText::sb_Extract(co_Content, co_text, std::string::npos, false);
    return co_text;
}

TEST(IdmlStorySamples, ExportsSmallStoriesExactly) {
    struct ct_Case {
        const char* pc_Package;
        const char* pc_Entry;
        const char* pc_Content;
    };
    const ct_Case aco_cases[] = {
        {"footnotes.idml", "Stories/Story_udd.xml",
         "Text1.<x1/><x2/>\tText1 footnote.\n<x3/> Text2.<x4/><x5/>\tText2 footnote.\n<x6/>Text3."
         "\n\nText4.<x7/><x8/>\tText4 footnote.\nAnd another paragraph in a footnote.\n<x9/>"
         "Text5.\n"},
        {"tracked-changes.idml", "Stories/Story_ue6.xml",
         "\nConditional Text Sample\n\n<x1/><g2>N</g2><g3>ew text.</g3>\n\n<g4>This simple "
         "document demonstrates controlling conditional text visibility.</g4>\n\nPrint Only\n\n"
         "\tThis text is print only!\n\nWeb Only\n\n\tThis text is Web only!\n\nBREAKING NEWS!\n\n"
         "Print and Breaking News\n"},
        {"xml-structure.idml", "Stories/Story_uf6.xml",
         "<x1/><x2/>A tagged <g3>styled </g3>text\nwith a new line.<x4/><x5/><x6/>\nAn untagged "
         "text.\n\n<x7/>Another tagged text.<x8/><x9/>\n"},
        {"hyperlinks-table.idml", "Stories/Story_uff.xml",
         "Text <x1/>link before br\n<g2>link2</g2><x3/><g4> to URL</g4> text.\n"},
        {"notes-mixed.idml", "Stories/Story_ufd.xml",
         "<g1>note content\n</g1><g2>Note content\n</g2>\n"},
        {"notes-mixed.idml", "Stories/Story_u116.xml", "<x1/><x2/>\tFootnote content\n<x3/> \n"},
        {"story-pointers.idml", "Stories/Story_u1117c.xml", "ONLINE\u2028www.napoleon.com\n"},
        {"tables-nested.idml", "Stories/Story_ue7.xml",
         "Text before a table\n<x1/><x2/>r0:c0\n<x3/>Meged r0:c1-c2, r1:c1-c2\n<x4/>\n<x5/>\n"
         "<x6/>\n<x7/>\n<x8/><x9/><x10/>3-3b\n<x11/>\n<x12/>\n<x13/>\n<x14/>3-3c\n<x15/>\n<x16/>\n"
         "<x17/>\n<x18/>3-3e\n<x19/>\n<x20/>Text 1.<x21/><x22/>2-2b\n<x23/>\n<x24/>\n<x25/>2-2e\n"
         "<x26/>\nAfter 1.\nAfter 2.\n<x27/>\n<x28/>\n<x29/>\n<x30/>\n<x31/>\n<x32/>\nText after "
         "a table.\n<x33/><x34/>\n<x35/>\n<x36/>\nAnother text after an empty table.\n\n"},
    };
    for (const ct_Case& co_case : aco_cases) {
        CT_SampleStory co_story = co_ReadStory(co_case.pc_Package, co_case.pc_Entry);
        ASSERT_TRUE(co_story.co_Story()) << co_case.pc_Entry;
        EXPECT_EQ(CT_IdmlStoryCodec::s_Export(co_story.co_Story()), co_case.pc_Content)
            << co_case.pc_Package << " " << co_case.pc_Entry;
    }
}

TEST(IdmlStorySamples, EveryStoryComesBackUnchangedFromItsOwnContent) {
    std::size_t n_stories = 0;
    for (const std::string& co_package : co_SampleNames()) {
        std::vector<CT_SampleStory> co_stories = co_ReadStories(co_package);
        ASSERT_FALSE(co_stories.empty()) << co_package;
        for (CT_SampleStory& co_story : co_stories) {
            std::string co_xml = co_story.s_Xml();
            std::string co_content = CT_IdmlStoryCodec::s_Export(co_story.co_Story());
            CT_IdmlStoryCodec::v_Import(co_story.co_Story(), co_content, CT_String("k"));
            EXPECT_EQ(co_story.s_Xml(), co_xml) << co_package << " " << co_story.co_Entry;
            EXPECT_EQ(CT_IdmlStoryCodec::s_Export(co_story.co_Story()), co_content);
            ++n_stories;
        }
    }
    EXPECT_EQ(n_stories, 791u);
}

// A pseudo-translation keeps every formatting, object and structure a reader sees. A
// translator who imports a file, corrects a typo and imports it again must find every code
// meaning what it meant: export after an import gives back the imported content, which the
// same story then takes again without a change. Translations make words longer or shorter and
// move them around the codes.
TEST(IdmlStorySamples, TranslationsKeepFormattingAndExportBackAsImported) {
    for (const std::string& co_package : co_SampleNames()) {
        for (CT_SampleStory& co_story : co_ReadStories(co_package)) {
            SCOPED_TRACE(co_package + " " + co_story.co_Entry);
            const std::string co_content = CT_IdmlStoryCodec::s_Export(co_story.co_Story());
            const std::string co_before = CT_Rendering(co_story.co_Story()).s_Text();
            const std::string co_pseudo = s_Pseudo(co_content);
            CT_IdmlStoryCodec::v_Import(co_story.co_Story(), co_pseudo, CT_String("k"));
            EXPECT_EQ(CT_Rendering(co_story.co_Story()).s_Text(), co_before);
            EXPECT_EQ(s_PlainOf(CT_IdmlStoryCodec::s_Export(co_story.co_Story())),
                      s_PlainOf(co_pseudo));

            const std::string co_longer = s_LetterPseudo(co_content);
            for (const std::string& co_next : {co_longer, s_Reordered(co_longer)}) {
                CT_IdmlStoryCodec::v_Import(co_story.co_Story(), co_next, CT_String("k"));
                const std::string co_xml = co_story.s_Xml();
                EXPECT_EQ(CT_IdmlStoryCodec::s_Export(co_story.co_Story()), co_next);
                EXPECT_NO_THROW(
                    CT_IdmlStoryCodec::v_Import(co_story.co_Story(), co_next, CT_String("k")));
                EXPECT_EQ(co_story.s_Xml(), co_xml);
            }
        }
    }
}

}  // namespace
