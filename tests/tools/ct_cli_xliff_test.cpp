// XLIFF through the command: every sample goes out valid against the XLIFF 1.2 schema and comes
// back unchanged; a translated target lands in its story; a target whose codes were broken, a
// missing language or an untranslated file under --require-translated is refused and leaves
// the document as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/tools/ct_cli_fixture.h"

namespace {
namespace fs = std::filesystem;

class CT_CliXliffTest : public CT_CliTest {
  protected:
    // The exported file with the target of the unit whose source is s_Source replaced.
    std::string s_Translated(const std::string& s_File, const std::string& s_Source,
                             const std::string& s_Target) const {
        std::string s_xliff = s_Read(s_File);
        const std::size_t n_source = s_xliff.find("<source>" + s_Source + "</source>");
        const std::size_t n_target = s_xliff.find("<target", n_source);
        const std::size_t n_end = s_xliff.find("</target>", n_target) + 9;
        return s_xliff.replace(n_target, n_end - n_target, "<target>" + s_Target + "</target>");
    }
    bool b_HasXmllint() const {
        return pco_Runner->co_RunProgram("/bin/sh", {"-c", "command -v xmllint"}).i_Status == 0;
    }
};

TEST_F(CT_CliXliffTest, EverySampleGoesOutValidAndComesBackUnchanged) {
    const bool b_xmllint = b_HasXmllint();
    const std::string s_schema =
        std::string(STORYPORT_TEST_DATA) + "/xliff-1.2/xliff-core-1.2-strict.xsd";
    for (const auto& co_entry :
         fs::directory_iterator(std::string(STORYPORT_TEST_DATA) + "/idml")) {
        if (co_entry.path().extension() != ".idml") {
            continue;
        }
        const std::string s_name = co_entry.path().filename().string();
        SCOPED_TRACE(s_name);
        v_CopyIn(co_entry.path().string(), s_name);
        ASSERT_EQ(co_Run({"export", s_name, "out.xlf", "--target-lang", "fr-FR"}).i_Status, 0);
        if (b_xmllint) {
            const CT_CliResult co_lint = pco_Runner->co_RunProgram(
                "/bin/sh", {"-c", "xmllint --noout --schema '" + s_schema + "' out.xlf"});
            EXPECT_EQ(co_lint.i_Status, 0) << co_lint.s_Err;
        }
        EXPECT_EQ(co_Run({"import", s_name, "out.xlf", "--no-backup"}).i_Status, 0);
        v_CopyIn(co_entry.path().string(), "original.idml");
        EXPECT_TRUE(s_Read(s_name) == s_Read("original.idml")) << "the package changed";
    }
}

// The source language is the one most of the document's text is set in, through its paragraph
// styles: korean-math is Korean though new text in it would be English, sections-masters
// Norwegian though its base style is English. English when nothing names one (the project's
// sample); --source-lang wins.
class CT_CliXliffLanguageTest
    : public CT_CliXliffTest,
      public ::testing::WithParamInterface<std::pair<const char*, const char*>> {};

TEST_P(CT_CliXliffLanguageTest, SourceLanguageIsTheDocumentsOwn) {
    const std::string s_name = GetParam().first;
    if (s_name != "brochure.idml") {
        v_CopyIn(std::string(STORYPORT_TEST_DATA) + "/idml/" + s_name, s_name);
    }
    ASSERT_EQ(co_Run({"export", s_name, "out.xlf", "--target-lang", "fr"}).i_Status, 0);
    EXPECT_NE(s_Read("out.xlf").find(std::string(" source-language=\"") + GetParam().second +
                                     "\" target-language=\"fr\""),
              std::string::npos);
    ASSERT_EQ(
        co_Run({"export", s_name, "de.xlf", "--target-lang", "fr", "--source-lang", "de"}).i_Status,
        0);
    EXPECT_NE(s_Read("de.xlf").find(" source-language=\"de\""), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Samples, CT_CliXliffLanguageTest,
                         ::testing::Values(std::make_pair("brochure.idml", "en"),
                                           std::make_pair("korean-math.idml", "ko-KR"),
                                           std::make_pair("sections-masters.idml", "nb-NO"),
                                           std::make_pair("footnotes.idml", "en-GB"),
                                           std::make_pair("xml-structure.idml", "ar")),
                         [](const auto& co_Info) {
                             std::string s_name = co_Info.param.first;
                             return s_name.substr(0, s_name.find_first_of(".-"));
                         });

// The demo's translation, as a CAT tool gives it back, brings the same stories as the tagged
// translation the project ships.
TEST_F(CT_CliXliffTest, TheShippedTranslationImportsAsTheTaggedOneDoes) {
    v_CopyIn(ss_Sample("fr/brochure.xlf"), "brochure.fr.xlf");
    v_CopyIn(ss_Sample("brochure.idml"), "tagged.idml");
    const CT_CliResult co_check = co_Run({"check", "brochure.idml", "brochure.fr.xlf"});
    EXPECT_EQ(co_check.i_Status, 0) << co_check.s_Err;
    ASSERT_EQ(co_Run({"import", "brochure.idml", "brochure.fr.xlf", "--no-backup"}).i_Status, 0);
    ASSERT_EQ(co_Run({"import", "tagged.idml", "brochure.fr.stt", "--no-backup"}).i_Status, 0);
    ASSERT_EQ(co_Run({"export", "brochure.idml", "from-xliff.stt"}).i_Status, 0);
    ASSERT_EQ(co_Run({"export", "tagged.idml", "from-tagged.stt"}).i_Status, 0);
    EXPECT_EQ(s_Read("from-xliff.stt"), s_Read("from-tagged.stt"));
}

// translate-toolkit's pocount counts the words of every sample's XLIFF file as storyport's list
// reports them; only text in scripts written without spaces differs, which ICU cuts into
// dictionary words where pocount counts a whole run as one (chinese.idml). Skipped without
// pocount.
TEST_F(CT_CliXliffTest, PocountCountsTheWordsListReports) {
    if (pco_Runner->co_RunProgram("/bin/sh", {"-c", "command -v pocount"}).i_Status != 0) {
        GTEST_SKIP() << "pocount is not installed";
    }
    std::vector<std::string> co_samples = {ss_Sample("brochure.idml")};
    for (const auto& co_entry :
         fs::directory_iterator(std::string(STORYPORT_TEST_DATA) + "/idml")) {
        if (co_entry.path().extension() == ".idml" &&
            co_entry.path().filename() != "chinese.idml") {
            co_samples.push_back(co_entry.path().string());
        }
    }
    for (const std::string& s_sample : co_samples) {
        SCOPED_TRACE(s_sample);
        v_CopyIn(s_sample, "doc.idml");
        ASSERT_EQ(
            co_Run({"export", "doc.idml", "doc.xlf", "--target-lang", "fr", "--force"}).i_Status,
            0);
        const std::string s_list = co_Run({"list", "doc.idml", "--json"}).s_Out;
        const std::string s_total = "\"total\": {\"words\": ";
        const std::size_t n_total = s_list.find(s_total);
        ASSERT_NE(n_total, std::string::npos) << s_list;
        const std::string s_words = s_list.substr(
            n_total + s_total.size(), s_list.find(',', n_total) - n_total - s_total.size());
        // The tenth field of pocount's CSV line is the file's source words.
        const CT_CliResult co_pocount =
            pco_Runner->co_RunProgram("/bin/sh", {"-c", "pocount --csv doc.xlf | tail -n 1"});
        ASSERT_EQ(co_pocount.i_Status, 0) << co_pocount.s_Err;
        std::vector<std::string> co_fields;
        std::string s_field;
        for (char c : co_pocount.s_Out + ",") {
            if (c == ',') {
                co_fields.push_back(s_field);
                s_field.clear();
            } else if (c != ' ' && c != '\n') {
                s_field += c;
            }
        }
        ASSERT_GE(co_fields.size(), 10u) << co_pocount.s_Out;
        EXPECT_EQ(co_fields[9], s_words) << co_pocount.s_Out;
    }
}

TEST_F(CT_CliXliffTest, TranslatedTargetsLandAndUntranslatedUnitsAreNamed) {
    ASSERT_EQ(co_Run({"export", "brochure.idml", "brochure.xlf", "--target-lang", "fr"}).i_Status,
              0);
    v_Write("brochure.fr.xlf", s_Translated("brochure.xlf", "Summer in the Alps",
                                            "L\xE2\x80\x99\xC3\xA9t\xC3\xA9 dans les Alpes"));

    const std::vector<std::string> co_before = co_Listing();
    const std::string s_before = s_Read("brochure.idml");
    const CT_CliResult co_strict =
        co_Run({"import", "brochure.idml", "brochure.fr.xlf", "--require-translated"});
    EXPECT_EQ(co_strict.i_Status, 1);
    EXPECT_EQ(co_Listing(), co_before);
    EXPECT_TRUE(s_Read("brochure.idml") == s_before);

    const CT_CliResult co_import = co_Run({"import", "brochure.idml", "brochure.fr.xlf"});
    EXPECT_EQ(co_import.i_Status, 0) << co_import.s_Err;
    EXPECT_NE(
        co_import.s_Err.find(
            "Warning: 21 units of brochure.fr.xlf are not translated: u1c2.1, u22c.1, u1f3.1,"),
        std::string::npos)
        << co_import.s_Err;
    ASSERT_EQ(co_Run({"export", "brochure.idml", "after.stt"}).i_Status, 0);
    EXPECT_NE(
        s_Read("after.stt").find("\">L\xE2\x80\x99\xC3\xA9t\xC3\xA9 dans les Alpes\n</STORY>"),
        std::string::npos);
}

TEST_F(CT_CliXliffTest, RefusalsLeaveTheDocumentAsItWas) {
    ASSERT_EQ(co_Run({"export", "brochure.idml", "b.xlf", "--target-lang", "fr"}).i_Status, 0);
    const std::string s_before = s_Read("brochure.idml");
    const std::string s_source =
        "Alpine Travel · Summer 2024 · <x id=\"1\" ctype=\"x-special-character\" "
        "equiv-text=\"special character\"/>";
    v_Write("broken.xlf", s_Translated("b.xlf", s_source, "Voyages alpins"));
    v_Write("v2.xlf", "<xliff version=\"2.0\" xmlns=\"urn:oasis:names:tc:xliff:document:2.0\"/>");
    const struct {
        std::vector<std::string> co_Args;
        int i_Status;
        std::string s_Error;
    } aco_cases[] = {
        {{"import", "brochure.idml", "broken.xlf"},
         1,
         "storyport: error: broken.xlf: story u1c2, unit u1c2.1: the target lacks code <x1/> of "
         "its source"},
        {{"check", "brochure.idml", "v2.xlf"},
         1,
         "storyport: error: v2.xlf: XLIFF 2.0 is not read: save the translation as XLIFF 1.2"},
    };
    for (const auto& co_case : aco_cases) {
        SCOPED_TRACE(co_case.co_Args[2]);
        const CT_CliResult co_result = co_Run(co_case.co_Args);
        EXPECT_EQ(co_result.i_Status, co_case.i_Status);
        EXPECT_EQ(sco_ErrorLines(co_result.s_Err), (std::vector<std::string>{co_case.s_Error}));
        EXPECT_EQ(s_Read("brochure.idml"), s_before);
    }
    // Usage errors, told as the command's other usage errors are.
    const CT_CliResult co_noLanguage = co_Run({"export", "brochure.idml", "c.xlf"});
    EXPECT_EQ(co_noLanguage.i_Status, 2);
    EXPECT_EQ(co_noLanguage.s_Err,
              "storyport: an XLIFF export needs --target-lang, the language to translate into (a "
              "BCP 47 code such as fr-FR)\n");
    const CT_CliResult co_badLanguage =
        co_Run({"export", "brochure.idml", "c.xlf", "--target-lang", "fr_FR"});
    EXPECT_EQ(co_badLanguage.i_Status, 2);
    EXPECT_EQ(co_badLanguage.s_Err,
              "storyport: \"fr_FR\" is no language code: give a BCP 47 code such as en-US or fr\n");
    EXPECT_FALSE(b_Exists("c.xlf"));
}

}  // namespace

// An XLIFF file is read through a tagged copy whose lines are not the XLIFF file's: what is
// wrong with its stories names the XLIFF file and the key, never a line of the copy.
TEST_F(CT_CliXliffTest, StoryFaultsNameTheXliffFileWithoutLinesOfItsCopy) {
    ASSERT_EQ(co_Run({"export", "brochure.idml", "b.xlf", "--target-lang", "fr"}).i_Status, 0);
    std::string s_twice = s_Read("b.xlf");
    const std::size_t n_group = s_twice.find("<group id=\"u22c\"");
    const std::size_t n_end = s_twice.find("</group>", n_group) + 8;
    s_twice.insert(n_end, s_twice.substr(n_group, n_end - n_group));
    v_Write("twice.xlf", s_twice);
    v_CopyIn(std::string(STORYPORT_TEST_DATA) + "/idml/footnotes.idml", "footnotes.idml");
    const auto co_before = co_Snapshot();
    const CT_CliResult co_twice = co_Run({"import", "brochure.idml", "twice.xlf"});
    EXPECT_EQ(co_twice.i_Status, 3);
    EXPECT_NE(co_twice.s_Err.find("Warning: twice.xlf: the key \"u22c\" stands in the file a "
                                  "second time; the later story would replace the earlier one\n"),
              std::string::npos)
        << co_twice.s_Err;
    const CT_CliResult co_other = co_Run({"import", "footnotes.idml", "b.xlf"});
    EXPECT_EQ(co_other.i_Status, 1);
    EXPECT_EQ(sco_ErrorLines(co_other.s_Err),
              (std::vector<std::string>{
                  "storyport: error: b.xlf: the document has no story with the key \"u1c2\""}));
    EXPECT_TRUE(co_Snapshot() == co_before);
}
