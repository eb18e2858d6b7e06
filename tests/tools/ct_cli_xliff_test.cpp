// XLIFF through the command: every sample goes out valid against the XLIFF 1.2 schema and comes
// back unchanged; translated units land in their paragraphs by id whatever a tool did to the
// file's order or <file>s; check names every fault of a file in one run, as import refuses
// it, with file, line and unit, and the document stays as it was.
#include <gtest/gtest.h>

#include <algorithm>
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
    // The exported file with every unit that has segments translated: "FR " before its text,
    // marked translated.
    std::string s_AllTranslated(const std::string& s_File) const {
        std::string s_xliff = s_Read(s_File);
        const std::string s_from =
            "<target state=\"needs-translation\"><mrk mtype=\"seg\" mid=\"1\">";
        const std::string s_to = "<target state=\"translated\"><mrk mtype=\"seg\" mid=\"1\">FR ";
        for (std::size_t n_at = 0; (n_at = s_xliff.find(s_from, n_at)) != std::string::npos;) {
            s_xliff.replace(n_at, s_from.size(), s_to);
        }
        return s_xliff;
    }
    // The units of an XLIFF text, each with its line end.
    static std::vector<std::string> sco_Units(const std::string& s_Xliff) {
        std::vector<std::string> co_units;
        for (std::size_t n_at = s_Xliff.find("<trans-unit"); n_at != std::string::npos;
             n_at = s_Xliff.find("<trans-unit", n_at + 1)) {
            co_units.push_back(
                s_Xliff.substr(n_at, s_Xliff.find("</trans-unit>", n_at) + 14 - n_at));
        }
        return co_units;
    }
    // The file's header and the units given, all in one body without groups.
    static std::string ss_WithUnits(const std::string& s_Xliff,
                                    const std::vector<std::string>& co_Units) {
        std::string s_file = s_Xliff.substr(0, s_Xliff.find("<group"));
        for (const std::string& s_unit : co_Units) {
            s_file += s_unit;
        }
        return s_file + "</body>\n</file>\n</xliff>\n";
    }
    // The stories of the document as a tagged file.
    std::string s_Stories(const std::string& s_Document) const {
        EXPECT_EQ(co_Run({"export", s_Document, "stories.stt", "--force"}).i_Status, 0);
        return s_Read("stories.stt");
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

// The stories laid over the document are kept on disk until the import reads them: a disk that
// cannot take them ends the import with why, and the document stays as it was. Here a file may
// grow to 16 KB: the document's working copy fits, one long translated story does not.
TEST_F(CT_CliXliffTest, StoriesThatCannotBeKeptOnDiskLeaveTheDocument) {
    v_CopyIn(ss_Sample("fr/brochure.xlf"), "brochure.fr.xlf");
    v_Write("long.xlf",
            s_Translated("brochure.fr.xlf", "Summer in the Alps", std::string(20000, 'x')));
    const auto co_before = co_Snapshot();
    const CT_CliResult co_run = pco_Runner->co_RunProgram(
        "/bin/bash", {"-c", "trap '' XFSZ; ulimit -f 16; exec \"$0\" \"$@\"", STORYPORT_CLI,
                      "import", "brochure.idml", "long.xlf", "--no-backup"});
    EXPECT_NE(co_run.i_Status, 0);
    EXPECT_NE(co_run.s_Err.find("cannot keep the translated stories in a temporary file: "),
              std::string::npos)
        << co_run.s_Err;
    EXPECT_EQ(co_Snapshot(), co_before);
}

// translate-toolkit's pocount counts the words to translate of every sample's XLIFF file as
// storyport's list reports them; only text in scripts written without spaces differs, which ICU
// cuts into dictionary words where pocount counts a whole run as one (chinese.idml). Numbers,
// which go out already translated and which list leaves out, are counted by pocount as words of
// the file, which it reads whole. Skipped without pocount.
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
        ASSERT_EQ(pco_Runner->co_RunProgram("/bin/sh", {"-c", "pocount doc.xlf"}).i_Status, 0);
        std::string s_toDo = s_Read("doc.xlf");
        for (std::size_t n_done = s_toDo.find("<target state=\"translated\">");
             n_done != std::string::npos;
             n_done = s_toDo.find("<target state=\"translated\">", n_done)) {
            const std::size_t n_unit = s_toDo.rfind("<trans-unit ", n_done);
            const std::string s_end = "</trans-unit>\n";
            s_toDo.erase(n_unit, s_toDo.find(s_end, n_done) + s_end.size() - n_unit);
            n_done = n_unit;
        }
        v_Write("to-do.xlf", s_toDo);
        // The tenth field of pocount's CSV line is the file's source words.
        const CT_CliResult co_pocount =
            pco_Runner->co_RunProgram("/bin/sh", {"-c", "pocount --csv to-do.xlf | tail -n 1"});
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

// The file's original is a name to compare, never a path: a Windows path names this document,
// an overlong name another one, which is only noted. (Units land by id whatever a tool did to
// the file's order or <file>s: the placement's tests; without groups: the test below.)
TEST_F(CT_CliXliffTest, TheOriginalIsANameToCompareNeverAPath) {
    ASSERT_EQ(co_Run({"export", "brochure.idml", "b.xlf", "--target-lang", "fr"}).i_Status, 0);
    const std::string s_original = s_Stories("brochure.idml");
    const std::string s_xliff = s_AllTranslated("b.xlf");
    v_Write("in-order.xlf", s_xliff);
    v_CopyIn(s_Path("brochure.idml"), "reference.idml");
    ASSERT_EQ(co_Run({"import", "reference.idml", "in-order.xlf", "--no-backup"}).i_Status, 0);
    const std::string s_translated = s_Stories("reference.idml");
    EXPECT_NE(s_translated.find(">FR Summer in the Alps\n"), std::string::npos) << s_translated;
    // A Windows path or an overlong name as the original is a name to compare, never a path:
    // the first names this document, the second another one, shown cut.
    for (const std::string& s_name :
         {std::string("C:\\Users\\me\\Documents\\brochure.idml"), std::string(304, 'x')}) {
        v_CopyIn(ss_Sample("brochure.idml"), "brochure.idml");
        std::string s_odd = s_xliff;
        s_odd.replace(s_odd.find("original=\"brochure.idml\""), 24, "original=\"" + s_name + "\"");
        v_Write("t.xlf", s_odd);
        const CT_CliResult co_import = co_Run({"import", "brochure.idml", "t.xlf", "--no-backup"});
        EXPECT_EQ(co_import.i_Status, 0) << co_import.s_Err;
        EXPECT_EQ(s_Stories("brochure.idml"), s_translated);
        const std::string s_shown =
            s_name.size() > 200 ? s_name.substr(0, 200) + "... (304 bytes)" : s_name;
        EXPECT_EQ(co_import.s_Err.find("Note: t.xlf:3: made for \"" + s_shown +
                                       "\", not for this document\n") != std::string::npos,
                  s_name[0] == 'x')
            << co_import.s_Err;
    }
    EXPECT_NE(s_original, s_translated);
}

// A paragraph the file lacks keeps the document's text and is named as untranslated; an id
// the export never wrote, one that stands twice or a story the document lacks refuses the
// import, naming file, line and id, unless differences are accepted: then those units are
// left out, each with a warning.
TEST_F(CT_CliXliffTest, MissingUnknownAndTwiceUnitsLoseNothing) {
    ASSERT_EQ(co_Run({"export", "brochure.idml", "b.xlf", "--target-lang", "fr"}).i_Status, 0);
    const std::string s_xliff = s_AllTranslated("b.xlf");
    std::vector<std::string> co_units = sco_Units(s_xliff);
    // A paragraph of a story that keeps others in the file.
    const auto co_summer = std::find_if(co_units.begin(), co_units.end(), [](const auto& s_Unit) {
        return s_Unit.find(">FR Week pass\tCHF 210<") != std::string::npos;
    });
    ASSERT_NE(co_summer, co_units.end());
    const std::string s_summerId = co_summer->substr(16, co_summer->find('"', 16) - 16);
    co_units.erase(co_summer);
    v_Write("missing.xlf", ss_WithUnits(s_xliff, co_units));
    const CT_CliResult co_missing = co_Run({"import", "brochure.idml", "missing.xlf"});
    EXPECT_EQ(co_missing.i_Status, 0) << co_missing.s_Err;
    EXPECT_NE(co_missing.s_Err.find(
                  "Warning: 1 unit of missing.xlf is not translated: " + s_summerId + "\n"),
              std::string::npos)
        << co_missing.s_Err;
    const std::string s_stories = s_Stories("brochure.idml");
    EXPECT_NE(s_stories.find("\nWeek pass\tCHF 210\n"), std::string::npos) << s_stories;
    EXPECT_NE(s_stories.find("\nFR Day pass\tCHF 45\n"), std::string::npos) << s_stories;

    v_CopyIn(ss_Sample("brochure.idml"), "brochure.idml");
    const std::string s_before = s_Read("brochure.idml");
    const CT_CliResult co_strict =
        co_Run({"import", "brochure.idml", "missing.xlf", "--require-translated"});
    EXPECT_EQ(co_strict.i_Status, 1);
    EXPECT_EQ(sco_ErrorLines(co_strict.s_Err),
              (std::vector<std::string>{"storyport: error: missing.xlf: --require-translated: "
                                        "not translated: " +
                                        s_summerId}));
    EXPECT_TRUE(s_Read("brochure.idml") == s_before);
    std::string s_unknown = co_units[0];
    s_unknown.replace(s_unknown.find(".1\""), 3, ".99\"");
    std::string s_otherStory = co_units[1];
    s_otherStory.replace(16, s_otherStory.find('.', 16) - 16, "nostory");
    co_units.push_back(s_unknown);
    co_units.push_back(s_otherStory);
    co_units.push_back(co_units[2]);
    const std::string s_bad = ss_WithUnits(s_xliff, co_units);
    v_Write("bad.xlf", s_bad);
    auto s_LineOf = [&](std::size_t n_Offset) {
        return std::to_string(std::count(s_bad.begin(), s_bad.begin() + n_Offset, '\n') + 1);
    };
    const std::string s_unknownId = s_unknown.substr(16, s_unknown.find('"', 16) - 16);
    const std::string s_twiceId = co_units[2].substr(16, co_units[2].find('"', 16) - 16);
    const std::vector<std::string> co_errors = {
        "storyport: error: bad.xlf:" + s_LineOf(s_bad.find(s_unknown)) + ": story " +
            s_unknownId.substr(0, s_unknownId.find('.')) + ", unit " + s_unknownId +
            ": no unit of the document has this id, so the file cannot say where it goes "
            "(with --allow-differences it is left out)",
        "storyport: error: bad.xlf:" + s_LineOf(s_bad.find(s_otherStory)) + ": unit nostory." +
            s_otherStory.substr(s_otherStory.find('.') + 1,
                                s_otherStory.find('"', 16) - s_otherStory.find('.') - 1) +
            ": the document has no story with the key \"nostory\" (with --allow-differences it "
            "is left out)",
    };
    const auto co_before = co_Snapshot();
    const CT_CliResult co_refused = co_Run({"import", "brochure.idml", "bad.xlf"});
    EXPECT_EQ(co_refused.i_Status, 1);
    const std::vector<std::string> co_lines = sco_ErrorLines(co_refused.s_Err);
    ASSERT_EQ(co_lines.size(), 3u) << co_refused.s_Err;
    EXPECT_EQ(co_lines[0], co_errors[0]);
    EXPECT_EQ(co_lines[1], co_errors[1]);
    EXPECT_NE(co_lines[2].find(", unit " + s_twiceId +
                               ": the id stands in the file a second "
                               "time (first on line " +
                               s_LineOf(s_bad.find(co_units[2])) + ")"),
              std::string::npos)
        << co_lines[2];
    EXPECT_TRUE(co_Snapshot() == co_before);
    // check says the same, with the fit report after it.
    const CT_CliResult co_check = co_Run({"check", "brochure.idml", "bad.xlf"});
    EXPECT_EQ(co_check.i_Status, 3);
    EXPECT_NE(co_check.s_Out.find("Difference: " +
                                  co_errors[0].substr(18, co_errors[0].find(" (with") - 18) + "\n"),
              std::string::npos)
        << co_check.s_Out;
    EXPECT_NE(co_check.s_Out.find("An import would be refused"), std::string::npos);

    const CT_CliResult co_allowed =
        co_Run({"import", "brochure.idml", "bad.xlf", "--allow-differences", "--no-backup"});
    EXPECT_EQ(co_allowed.i_Status, 0) << co_allowed.s_Err;
    EXPECT_NE(co_allowed.s_Err.find(
                  "Warning: " + co_errors[0].substr(18, co_errors[0].find(" (with") - 18) +
                  " (it is left out: --allow-differences)\n"),
              std::string::npos)
        << co_allowed.s_Err;
    EXPECT_NE(s_Stories("brochure.idml").find(">FR Alpine Travel"), std::string::npos);
}

// check names every fault of the file in one run (broken codes, a reference to NUL, a source
// the document no longer has, untranslated units) with file, line and unit, then the fit; import
// refuses the same file with the same lines and leaves the document as it was.
TEST_F(CT_CliXliffTest, CheckNamesEveryFaultAsImportRefusesIt) {
    ASSERT_EQ(co_Run({"export", "brochure.idml", "b.xlf", "--target-lang", "fr"}).i_Status, 0);
    const std::string s_source =
        "Alpine Travel · Summer 2024 · <x id=\"1\" ctype=\"x-page-number\" "
        "equiv-text=\"page number\"/>";
    v_Write("one.xlf", s_Translated("b.xlf", s_source, "Voyages alpins"));
    v_Write("two.xlf", s_Translated("one.xlf", "Summer in the Alps", "L&#0;\xC3\xA9t\xC3\xA9"));
    v_Write("three.xlf", s_Translated("two.xlf", "Book early — places are limited!",
                                      "R\xC3\xA9servez t\xC3\xB4t !"));
    std::string s_file = s_Read("three.xlf");
    s_file.replace(s_file.find("<source>Book early"), 18, "<source>Book later");
    v_Write("all.xlf", s_file);
    auto s_LineOf = [&](const std::string& s_Text) {
        return std::to_string(
            std::count(s_file.begin(), s_file.begin() + s_file.find(s_Text), '\n') + 1);
    };
    const std::string s_codes = "all.xlf:" + s_LineOf("<trans-unit id=\"u1c2.1\"") +
                                ": story u1c2, unit u1c2.1: the target lacks code <x1/> of its "
                                "source";
    const std::string s_nul = "all.xlf:" + s_LineOf("L&#0;") +
                              ": the text holds a reference to the character NUL (&#0;), which "
                              "no document can hold";
    const auto co_before = co_Snapshot();
    const CT_CliResult co_check = co_Run({"check", "brochure.idml", "all.xlf"});
    EXPECT_EQ(co_check.i_Status, 1);
    const std::vector<std::string> co_out = sco_Lines(co_check.s_Out);
    EXPECT_NE(std::find(co_out.begin(), co_out.end(), "Refused: " + s_codes), co_out.end())
        << co_check.s_Out;
    EXPECT_NE(co_check.s_Out.find(s_nul.substr(s_nul.find(": the text"))), std::string::npos)
        << co_check.s_Out;
    EXPECT_NE(co_check.s_Out.find("Difference: all.xlf:"), std::string::npos);
    EXPECT_NE(co_check.s_Out.find("the source is not the document's text, which changed since "
                                  "the export: \"Book later"),
              std::string::npos);
    EXPECT_NE(co_check.s_Out.find("Not translated: "), std::string::npos);
    EXPECT_NE(co_check.s_Out.find("\nFit of the translation"), std::string::npos) << co_check.s_Out;
    const CT_CliResult co_json = co_Run({"check", "brochure.idml", "all.xlf", "--json"});
    EXPECT_NE(co_json.s_Out.find("{\"kind\": \"code-missing\", \"story\": \"u1c2\", \"unit\": "
                                 "\"u1c2.1\", \"code\": \"<x1/>\", \"line\": " +
                                 s_LineOf("<trans-unit id=\"u1c2.1\"") + ", \"message\": \"" +
                                 s_codes + "\"}"),
              std::string::npos)
        << co_json.s_Out;
    EXPECT_NE(co_json.s_Out.find("\"kind\": \"source-differs\""), std::string::npos);

    const CT_CliResult co_import = co_Run({"import", "brochure.idml", "all.xlf"});
    EXPECT_EQ(co_import.i_Status, 1);
    const std::vector<std::string> co_errors = sco_ErrorLines(co_import.s_Err);
    EXPECT_EQ(co_errors.size(), 3u) << co_import.s_Err;
    EXPECT_NE(std::find(co_errors.begin(), co_errors.end(), "storyport: error: " + s_codes),
              co_errors.end())
        << co_import.s_Err;
    EXPECT_TRUE(co_Snapshot() == co_before);
}

}  // namespace
