// What an export must not replace: the units of an XLIFF file that hold a translator's work,
// whichever tool wrote the file and however it reshaped the segments.
#include "exchange/ct_xliff_translations.h"

#include <gtest/gtest.h>

#include "tests/platform/common/ct_temp_folder.h"

#include <fstream>
#include <string>
#include <vector>

namespace {
// The units found in an XLIFF file of the given elements; the XLIFF namespace goes with the
// prefix ("xlf:") that every element name carries, or is the default one.
std::vector<std::string> co_Translated(const std::string& s_Body, std::string& s_Error,
                                       const std::string& s_Prefix = "") {
    // A folder of its own: ctest runs the tests of this file as parallel processes.
    const CT_TempFolder co_folder;
    const std::string s_path = co_folder / "translations.xlf";
    const std::string s_xmlns =
        s_Prefix.empty() ? "xmlns" : "xmlns:" + s_Prefix.substr(0, s_Prefix.size() - 1);
    std::ofstream(s_path, std::ios::binary)
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<" << s_Prefix << "xliff version=\"1.2\" "
        << s_xmlns << "=\"urn:oasis:names:tc:xliff:document:1.2\">" << s_Body << "</" << s_Prefix
        << "xliff>\n";
    return CT_XliffTranslations::sco_Find(s_path, s_Error);
}

std::string s_Unit(const std::string& s_Id, const std::string& s_Source,
                   const std::string& s_Target, const std::string& s_Attributes = "") {
    return "<trans-unit id=\"" + s_Id + "\"" + s_Attributes + "><source>" + s_Source + "</source>" +
           s_Target + "</trans-unit>";
}

TEST(CT_XliffTranslationsTest, OnlyATranslatorsWorkCounts) {
    const std::string s_body =
        "<file original=\"a.idml\" source-language=\"en\" target-language=\"fr\"><body><group>" +
        // What export writes: copies waiting for a translator, numbers already done.
        s_Unit("fresh", "Summer <g id=\"1\">sale</g>. Now.",
               "<target state=\"needs-translation\"><mrk mtype=\"seg\" mid=\"1\">Summer <g "
               "id=\"1\">sale</g>.</mrk> <mrk mtype=\"seg\" mid=\"2\">Now.</mrk></target>") +
        s_Unit("number", "5.88", "<target state=\"translated\">5.88</target>") +
        s_Unit("empty", "Text", "<target state=\"final\"></target>") + s_Unit("none", "Text", "") +
        // A translator's: other text, a code moved, or the source kept on purpose.
        s_Unit("changed", "Summer", "<target>Été</target>") +
        s_Unit("moved", "A <g id=\"1\">b</g> c", "<target>A b <g id=\"1\">c</g></target>") +
        s_Unit("kept", "3 h", "<target state=\"signed-off\">3 h</target>") +
        s_Unit("review", "OK", "<target state=\"needs-review-translation\">OK</target>") +
        s_Unit("approved", "OK", "<target>OK</target>", " approved=\"yes\"") +
        "</group></body></file>" +
        "<file original=\"b.idml\" source-language=\"en\" target-language=\"fr\"><body>" +
        s_Unit("second", "Two", "<target state=\"needs-translation\">Deux</target>") +
        "</body></file>";
    std::string s_error;
    EXPECT_EQ(
        co_Translated(s_body, s_error),
        (std::vector<std::string>{"changed", "moved", "kept", "review", "approved", "second"}));
    EXPECT_EQ(s_error, "");
    // Another tool's prefix, and segments merged into one.
    EXPECT_EQ(co_Translated("<x:file><x:body><x:trans-unit id=\"u1\"><x:source>A. B.</x:source>"
                            "<x:seg-source><x:mrk mtype=\"seg\" mid=\"1\">A.</x:mrk> <x:mrk "
                            "mtype=\"seg\" mid=\"2\">B.</x:mrk></x:seg-source><x:target><x:mrk "
                            "mtype=\"seg\" mid=\"1\">A. B.</x:mrk></x:target></x:trans-unit>"
                            "<x:trans-unit id=\"u2\"><x:source>C</x:source><x:target>D"
                            "</x:target></x:trans-unit></x:body></x:file>",
                            s_error, "x:"),
              (std::vector<std::string>{"u2"}));
}

TEST(CT_XliffTranslationsTest, AFileThatCannotBeReadIsNamedAsSuch) {
    std::string s_error;
    EXPECT_TRUE(co_Translated("<file><body>", s_error).empty());
    EXPECT_NE(s_error.find("at byte"), std::string::npos) << s_error;
    // Units are parsed apart from the rest: a fault of a unit's own start tag is found too.
    EXPECT_TRUE(co_Translated("<file><body><trans-unit id=u1><source>a</source>"
                              "<target>b</target></trans-unit></body></file>",
                              s_error)
                    .empty());
    EXPECT_NE(s_error.find("at byte"), std::string::npos) << s_error;
    // Nested past any tool's depth inside a unit's target: refused, not followed down.
    std::string s_deep;
    for (int i = 0; i < 100000; ++i) {
        s_deep += "<g id=\"1\">";
    }
    for (int i = 0; i < 100000; ++i) {
        s_deep += "</g>";
    }
    EXPECT_TRUE(co_Translated("<file><body>" +
                                  s_Unit("u1", "a", "<target>" + s_deep + "</target>") +
                                  "</body></file>",
                              s_error)
                    .empty());
    EXPECT_EQ(s_error.rfind("elements nest more than 1000 deep", 0), 0u) << s_error;
}
}  // namespace
