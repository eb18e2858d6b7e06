// The ordinary mistakes and bad inputs a user hands the command: each ends either in the right
// result or in one clear refusal, and a refusal changes no file. Every case compares the bytes
// of every file in the folder before and after the run.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

#include "tests/tools/ct_cli_fixture.h"

namespace fs = std::filesystem;

namespace {
std::string s_Replaced(std::string s_Text, const std::string& s_Old, const std::string& s_New) {
    const std::size_t n_at = s_Text.find(s_Old);
    EXPECT_NE(n_at, std::string::npos) << s_Old;
    return n_at == std::string::npos ? s_Text : s_Text.replace(n_at, s_Old.size(), s_New);
}

std::string s_LineEnds(const std::string& s_Text, const std::string& s_End) {
    return std::regex_replace(s_Text, std::regex("\n"), s_End);
}

// A case of a run that must be refused: what the run is, and its status and only error line.
struct CT_Refusal {
    std::vector<std::string> co_Args;
    int i_Status;
    std::string s_Error;
};

class CT_CliBadInputTest : public CT_CliTest {
  protected:
    // Runs each case and checks that it is refused with its error and that nothing changed.
    void v_ExpectRefusals(const std::vector<CT_Refusal>& co_Cases) {
        const auto co_before = co_Snapshot();
        for (const CT_Refusal& co_case : co_Cases) {
            SCOPED_TRACE(co_case.co_Args[0] + " " + co_case.co_Args[2]);
            const CT_CliResult co_result = co_Run(co_case.co_Args);
            EXPECT_EQ(co_result.i_Status, co_case.i_Status) << co_result.s_Err;
            EXPECT_EQ(sco_ErrorLines(co_result.s_Err), (std::vector<std::string>{co_case.s_Error}))
                << co_result.s_Err;
            EXPECT_TRUE(co_Snapshot() == co_before);
        }
    }
};
}  // namespace

TEST_F(CT_CliBadInputTest, ExportNeverReplacesItsDocumentOrAFileThatIsNotTagged) {
    v_CopyIn(ss_ThirdParty("footnotes.idml"), "other.idml");
    fs::create_symlink("brochure.idml", s_Path("link.stt"));
    const std::string s_itself = " itself: an export never replaces its document";
    v_ExpectRefusals({
        {{"export", "brochure.idml", "brochure.idml"},
         1,
         "storyport: error: brochure.idml is the document brochure.idml" + s_itself},
        {{"export", "brochure.idml", "./brochure.idml", "--force"},
         1,
         "storyport: error: ./brochure.idml is the document brochure.idml" + s_itself},
        {{"export", "brochure.idml", "link.stt", "--force"},
         1,
         "storyport: error: link.stt is the document brochure.idml" + s_itself},
        {{"export", "brochure.idml", "other.idml"},
         1,
         "storyport: error: other.idml exists and is not a tagged story or XLIFF file, so it was "
         "left as it is (--force replaces it, keeping it as a backup)"},
        {{"export", "brochure.idml", "config"},
         1,
         "storyport: error: config is a folder: give the path of the tagged story file to write"},
    });
    // A batch leaves such a file alone too, and goes on with the other documents.
    fs::create_directory(s_Path("out"));
    v_Write("out/brochure.stt", "my notes\n");
    v_CopyIn(s_Path("brochure.idml"), "second.idml");
    const CT_CliResult co_batch =
        co_Run({"batch", "export", "--folder", "out", "brochure.idml", "second.idml"});
    EXPECT_EQ(co_batch.i_Status, 1);
    EXPECT_EQ(sco_ErrorLines(co_batch.s_Err),
              (std::vector<std::string>{
                  "storyport: error: out/brochure.stt exists and is not a tagged story or XLIFF "
                  "file, so it was left as it is (--force replaces it, keeping it as a backup)"}));
    EXPECT_EQ(s_Read("out/brochure.stt"), "my notes\n");
    EXPECT_EQ(co_Listing("out"), (std::vector<std::string>{"brochure.stt", "second.stt"}));
}

// An export replaces what an earlier export wrote, and never a translation: an XLIFF file with
// a translated unit or a tagged file whose stories differ from the document's is left as it
// is; --force replaces it after keeping it as a backup. Whatever its line ends or encoding.
TEST_F(CT_CliBadInputTest, ExportNeverDestroysATranslation) {
    v_CopyIn(ss_Sample("fr/brochure.xlf"), "fr.xlf");
    v_Write("crlf.stt", s_LineEnds(s_Read("brochure.fr.stt"), "\r\n"));
    const std::string s_kept =
        " so it was left as it is (--force replaces it, keeping it as a backup)";
    v_ExpectRefusals({
        {{"export", "brochure.idml", "fr.xlf", "--target-lang", "fr"},
         1,
         "storyport: error: fr.xlf holds a translation (22 translated units: u1c2.1, u22c.1, "
         "u1d6.1 and 19 more): an export would put the "
         "document's text in its place," +
             s_kept},
        {{"export", "brochure.idml", "brochure.fr.stt"},
         1,
         "storyport: error: brochure.fr.stt holds a translation (7 stories differ from the "
         "document: u1c2, u1d6, u1e4 and 4 more): an export "
         "would put the document's text in its place," +
             s_kept},
        {{"export", "brochure.idml", "crlf.stt", "--format", "xliff", "--target-lang", "fr"},
         1,
         "storyport: error: crlf.stt holds a translation (7 stories differ from the document: "
         "u1c2, u1d6, u1e4 and 4 more): an export would put "
         "the document's text in its place," +
             s_kept},
    });

    // Earlier exports, in either format and however the notes went out, are replaced.
    for (const char* pc_target : {"plain.stt", "plain.xlf"}) {
        SCOPED_TRACE(pc_target);
        const std::vector<std::string> co_args = {"export", "brochure.idml", pc_target,
                                                  "--target-lang", "fr"};
        std::vector<std::string> co_skip = co_args;
        co_skip.insert(co_skip.end(), {"--notes", "skip"});
        ASSERT_EQ(co_Run(co_skip).i_Status, 0);
        ASSERT_EQ(co_Run(co_args).i_Status, 0);
        const std::string s_first = s_Read(pc_target);
        const CT_CliResult co_again = co_Run(co_args);
        EXPECT_EQ(co_again.i_Status, 0) << co_again.s_Err;
        EXPECT_EQ(s_Read(pc_target), s_first);
        EXPECT_FALSE(b_Exists(std::string(pc_target) + ".bak"));
    }

    // Forced: the translation is kept, once, in the first free backup.
    const std::string s_translation = s_Read("fr.xlf");
    v_Write("fr.xlf.bak", "an older backup");
    for (int i_run = 0; i_run < 2; ++i_run) {
        const CT_CliResult co_forced =
            co_Run({"export", "brochure.idml", "fr.xlf", "--target-lang", "fr", "--force"});
        EXPECT_EQ(co_forced.i_Status, 0) << co_forced.s_Err;
        EXPECT_EQ(s_Read("fr.xlf"), s_Read("plain.xlf"));
    }
    EXPECT_EQ(s_Read("fr.xlf.bak"), "an older backup");
    EXPECT_EQ(s_Read("fr.xlf.bak.2"), s_translation);
    EXPECT_FALSE(b_Exists("fr.xlf.bak.3"));
    const std::string s_tagged = s_Read("brochure.fr.stt");
    const CT_CliResult co_tagged =
        co_Run({"export", "brochure.idml", "brochure.fr.stt", "--force"});
    EXPECT_EQ(co_tagged.i_Status, 0);
    EXPECT_NE(co_tagged.s_Err.find("The file as it was is kept in brochure.fr.stt.bak."),
              std::string::npos)
        << co_tagged.s_Err;
    EXPECT_EQ(s_Read("brochure.fr.stt.bak"), s_tagged);
    EXPECT_EQ(s_Read("brochure.fr.stt"), s_Read("plain.stt"));
}

// The folders of the file to write are made before the kernel is called, so that its error
// and then its count of exported stories never show for a folder that is not there.
TEST_F(CT_CliBadInputTest, ExportMakesTheFoldersOfItsFile) {
    const CT_CliResult co_result = co_Run({"export", "brochure.idml", "fr/new/brochure.stt"});
    EXPECT_EQ(co_result.i_Status, 0) << co_result.s_Err;
    EXPECT_EQ(sco_ErrorLines(co_result.s_Err), std::vector<std::string>()) << co_result.s_Err;
    ASSERT_EQ(co_Run({"export", "brochure.idml", "plain.stt"}).i_Status, 0);
    EXPECT_EQ(s_Read("fr/new/brochure.stt"), s_Read("plain.stt"));
    v_Write("file", "");
    v_ExpectRefusals({
        {{"export", "brochure.idml", "file/brochure.stt"},
         1,
         "storyport: error: cannot make the folder file for file/brochure.stt: a file stands in "
         "its place; nothing was exported"},
    });
}

// A pipe cannot take a file put in its place, and looking into it would wait for a writer
// without end: an export to one is refused at once, forced or not, and the pipe stays.
TEST_F(CT_CliBadInputTest, ExportToAPipeIsRefusedWithoutWaiting) {
    ASSERT_EQ(mkfifo(s_Path("pipe.stt").c_str(), 0600), 0);
    for (const bool b_force : {false, true}) {
        SCOPED_TRACE(b_force);
        std::vector<std::string> co_args = {"export", "brochure.idml", "pipe.stt"};
        if (b_force) {
            co_args.push_back("--force");
        }
        const CT_CliResult co_result = co_Run(co_args);
        EXPECT_EQ(co_result.i_Status, 1);
        EXPECT_EQ(sco_ErrorLines(co_result.s_Err),
                  (std::vector<std::string>{
                      "storyport: error: pipe.stt is not a regular file (a pipe, a device or a "
                      "socket): give the path of the tagged story file to write"}));
        EXPECT_TRUE(fs::is_fifo(s_Path("pipe.stt")));
    }
}

// A translation piped in is read once: import and check work from a copy of it, as they do
// from a file, in both formats.
TEST_F(CT_CliBadInputTest, TranslationsArePipedIn) {
    ASSERT_EQ(co_Run({"export", "brochure.idml", "b.xlf", "--target-lang", "fr"}).i_Status, 0);
    const auto co_piped = [&](const std::string& s_File, const std::string& s_Command) {
        return pco_Runner->co_RunProgram(
            "/bin/sh", {"-c", "cat " + s_File + " | \"$0\" " + s_Command, STORYPORT_CLI});
    };
    const CT_CliResult co_check = co_piped("brochure.fr.stt", "check brochure.idml /dev/stdin");
    EXPECT_EQ(co_check.i_Status, 0) << co_check.s_Err;
    const CT_CliResult co_xliff =
        co_piped("b.xlf", "import brochure.idml /dev/stdin --format xliff --no-backup");
    EXPECT_EQ(co_xliff.i_Status, 0) << co_xliff.s_Err;
    const CT_CliResult co_tagged =
        co_piped("brochure.fr.stt", "import brochure.idml /dev/stdin --no-backup");
    EXPECT_EQ(co_tagged.i_Status, 0) << co_tagged.s_Err;
    ASSERT_EQ(co_Run({"export", "brochure.idml", "again.stt"}).i_Status, 0);
    EXPECT_EQ(s_Read("again.stt"), s_Read("brochure.fr.stt"));
}

// A key that stands twice and a story the file lacks: import refuses (exit 3) after naming
// both, unless the user accepts the difference.
TEST_F(CT_CliBadInputTest, ImportRefusesAFileWhoseKeysDifferUnlessAccepted) {
    v_Write("dup.stt", s_Replaced(s_Read("brochure.fr.stt"),
                                  "NAME=\"u1d6\" LOCATION=\"P1\">L’été dans les Alpes",
                                  "NAME=\"u1c2\" LOCATION=\"P1\">Alpine Travel <x1/>"));
    const auto co_before = co_Snapshot();
    const CT_CliResult co_refused = co_Run({"import", "brochure.idml", "dup.stt"});
    EXPECT_EQ(co_refused.i_Status, 3);
    EXPECT_EQ(co_refused.s_Err,
              "Warning: dup.stt:10:1: the key \"u1c2\" stands in the file a second time (first "
              "on line 2); the later story would replace the earlier one\n"
              "Warning: dup.stt has no story for the key \"u1d6\" (Story 3: Summer in the "
              "Alps)\n"
              "storyport: error: dup.stt and brochure.idml do not hold the same stories: nothing "
              "was imported (--allow-differences imports all the same)\n");
    EXPECT_TRUE(co_Snapshot() == co_before);

    const CT_CliResult co_accepted =
        co_Run({"import", "brochure.idml", "dup.stt", "--allow-differences"});
    EXPECT_EQ(co_accepted.i_Status, 0) << co_accepted.s_Err;
    EXPECT_NE(co_accepted.s_Err.find("Warning: dup.stt has no story for the key \"u1d6\""),
              std::string::npos);
    EXPECT_EQ(s_Read("brochure.idml.bak"), co_before.at("brochure.idml"));
}

// Files that are not what the import can take are refused before anything is imported, with
// the file, the line and the column of the fault.
TEST_F(CT_CliBadInputTest, ImportAndCheckRefuseABrokenFileNamingThePlace) {
    const std::string s_good = s_Read("brochure.fr.stt");
    v_Write("unknown.stt", s_Replaced(s_good, "NAME=\"u1f3\"", "NAME=\"zzz\""));
    v_Write("empty-key.stt", s_Replaced(s_good, "NAME=\"u1f3\"", "NAME=\"\""));
    // A key of 100,000 bytes once overflowed the stack where it was looked for; its message is
    // cut.
    v_Write("long-key.stt",
            s_Replaced(s_good, "NAME=\"u1f3\"", "NAME=\"" + std::string(100000, 'k') + "\""));
    v_Write("utf16.stt", "\xFF\xFE<\0S\0");
    v_Write("latin1.stt", s_Replaced(s_good, "L’été", "L'\xE9t\xE9"));
    v_Write("no-version.stt", s_Replaced(s_good, "<STORYPORT-TAGGED-TEXT VERSION=\"1\">", ""));
    // Files in which no story is recognised at all.
    v_Write("quotes.stt", std::regex_replace(s_good, std::regex("NAME=\"(\\w+)\""), "NAME='$1'"));
    v_Write("lower.stt", std::regex_replace(s_good, std::regex("STORY( |>)"), "story$1"));
    v_Write("garbage.stt", "<STORYPORT-TAGGED-TEXT VERSION=\"1\">\n\n  hello\n");
    std::vector<CT_Refusal> co_cases;
    for (const char* pc_command : {"import", "check"}) {
        const auto co_case = [&](const std::string& s_File, int i_Status,
                                 const std::string& s_Error) {
            co_cases.push_back({{pc_command, "brochure.idml", s_File}, i_Status, s_Error});
        };
        if (std::string(pc_command) == "import") {
            co_case("unknown.stt", 1,
                    "storyport: error: unknown.stt:14:1: the document has no story with the key "
                    "\"zzz\"");
            co_case("long-key.stt", 1,
                    "storyport: error: long-key.stt:14:1: the document has no story with the key "
                    "\"" +
                        std::string(200, 'k') + "... (100000 bytes)\"");
        }
        co_case("empty-key.stt", 1,
                "storyport: error: empty-key.stt:14:1: the story's key is empty (NAME=\"\")");
        co_case("utf16.stt", 1,
                "storyport: error: \"utf16.stt\" is UTF-16 text; a tagged story file is read as "
                "UTF-8: save it as UTF-8");
        co_case("latin1.stt", 1,
                "storyport: error: latin1.stt:10:36: the byte 0xE9 is not UTF-8: the file seems "
                "to be in a legacy 8-bit encoding (such as Latin-1 or Windows-1252); save it as "
                "UTF-8");
        co_case("quotes.stt", 1,
                "storyport: error: quotes.stt:2:1: no story was found: this line is not a story "
                "tag <STORY NAME=\"KEY\" ...>: <STORY NAME='u1c2' LOCATION=\"MA-Master1\"...");
        co_case("lower.stt", 1,
                "storyport: error: lower.stt:2:1: no story was found: this line is not a story "
                "tag <STORY NAME=\"KEY\" ...>: <story NAME=\"u1c2\" LOCATION=\"MA-Master1\"...");
        co_case("garbage.stt", 1,
                "storyport: error: garbage.stt:3:1: no story was found: this line is not a story "
                "tag <STORY NAME=\"KEY\" ...>:   hello");
        co_case("no-version.stt", 1,
                "storyport: error: no-version.stt:1:1: not a tagged story file: it lacks the "
                "version tag <STORYPORT-TAGGED-TEXT VERSION=\"1\">");
    }
    v_ExpectRefusals(co_cases);
}

// Elements nested past the readers' depth, where the stack once overflowed, are refused by
// check and import alike with the file and the line; a nesting short of it reads as usual.
TEST_F(CT_CliBadInputTest, XliffNestedPastTheLimitIsRefusedWithItsLine) {
    ASSERT_EQ(co_Run({"export", "brochure.idml", "brochure.xlf", "--target-lang", "fr"}).i_Status,
              0);
    const std::string s_xliff = s_Read("brochure.xlf");
    const std::string s_target =
        "<target state=\"needs-translation\"><mrk mtype=\"seg\" "
        "mid=\"1\">Summer in the Alps</mrk></target>";
    const std::string s_group = "<group id=\"u1d6\"";
    auto s_Nested = [](const std::string& s_Open, const std::string& s_Close, std::size_t n,
                       const std::string& s_Inner) {
        std::string s_out;
        for (std::size_t n_level = 0; n_level < n; ++n_level) {
            s_out += s_Open;
        }
        s_out += s_Inner;
        for (std::size_t n_level = 0; n_level < n; ++n_level) {
            s_out += s_Close;
        }
        return s_out;
    };
    auto s_Target = [&](const std::string& s_Open, const std::string& s_Close, std::size_t n) {
        return s_Replaced(s_xliff, s_target,
                          "<target state=\"translated\">" +
                              s_Nested(s_Open, s_Close, n, "Sommer dans les Alpes") + "</target>");
    };
    // The xliff, file, body, group, unit and target elements hold the codes: 994 fit.
    v_Write("fits.xlf", s_Target("<mrk mtype=\"x\">", "</mrk>", 994));
    v_Write("mrk.xlf", s_Target("<mrk mtype=\"x\">", "</mrk>", 995));
    v_Write("g.xlf", s_Target("<g id=\"1\">", "</g>", 25000));
    const std::size_t n_group = s_xliff.find(s_group);
    ASSERT_NE(n_group, std::string::npos);
    const std::size_t n_end = s_xliff.find("</group>", n_group) + 8;
    v_Write("group.xlf",
            s_xliff.substr(0, n_group) +
                s_Nested("<group>\n", "</group>", 25000, s_xliff.substr(n_group, n_end - n_group)) +
                s_xliff.substr(n_end));
    const std::size_t n_line = static_cast<std::size_t>(
        std::count(s_xliff.begin(), s_xliff.begin() + s_xliff.find(s_target), '\n') + 1);
    const std::size_t n_groupLine = static_cast<std::size_t>(
        std::count(s_xliff.begin(), s_xliff.begin() + n_group, '\n') + 1 + 997);
    std::vector<CT_Refusal> co_cases;
    for (const char* pc_command : {"check", "import"}) {
        for (const auto& co_case : {std::make_pair("mrk", n_line), std::make_pair("g", n_line),
                                    std::make_pair("group", n_groupLine)}) {
            co_cases.push_back({{pc_command, "brochure.idml", co_case.first + std::string(".xlf")},
                                1,
                                "storyport: error: " + std::string(co_case.first) +
                                    ".xlf: elements nest more than 1000 deep at line " +
                                    std::to_string(co_case.second) + " (<" + co_case.first +
                                    ">), deeper than any translation nests"});
        }
    }
    v_ExpectRefusals(co_cases);
    const CT_CliResult co_fits = co_Run({"import", "brochure.idml", "fits.xlf"});
    EXPECT_EQ(co_fits.i_Status, 0) << co_fits.s_Err;
    ASSERT_EQ(co_Run({"export", "brochure.idml", "after.stt"}).i_Status, 0);
    EXPECT_NE(s_Read("after.stt").find("\">Sommer dans les Alpes\n</STORY>"), std::string::npos);
}

// A file of the wrong kind given as the translation (the document itself, the other format,
// bytes that are no text) is named as what it is, by import and check alike.
TEST_F(CT_CliBadInputTest, ATranslationOfTheWrongKindIsNamedAsWhatItIs) {
    ASSERT_EQ(co_Run({"export", "brochure.idml", "brochure.xlf", "--target-lang", "fr"}).i_Status,
              0);
    v_CopyIn(s_Path("brochure.xlf"), "xliff.stt");
    v_CopyIn(s_Path("brochure.fr.stt"), "tagged.xlf");
    v_CopyIn(s_Path("brochure.idml"), "copy.stt");
    v_CopyIn(s_Path("brochure.idml"), "copy.xlf");
    v_Write("binary.stt", std::string("\x7F"
                                      "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0",
                                      20));
    std::string s_wide;
    for (const char c : std::string("<STORYPORT-TAGGED-TEXT VERSION=\"1\">\n")) {
        s_wide += std::string(1, c) + '\0';
    }
    v_Write("wide.stt", s_wide);
    fs::create_directory(s_Path("folder.stt"));
    const std::string s_zip = " is a zip archive (a document?), not a tagged story file";
    std::vector<CT_Refusal> co_cases;
    for (const char* pc_command : {"import", "check"}) {
        const auto co_case = [&](const std::string& s_File, const std::string& s_Error) {
            co_cases.push_back(
                {{pc_command, "brochure.idml", s_File}, 1, "storyport: error: " + s_Error});
        };
        co_case("copy.stt", "\"copy.stt\"" + s_zip);
        co_case("brochure.idml", "\"brochure.idml\"" + s_zip);
        co_case("copy.xlf", "copy.xlf: a zip archive (a document?), not an XLIFF file");
        co_case("xliff.stt",
                "\"xliff.stt\" is an XLIFF file, not a tagged story file: give --format xliff "
                "to read it");
        co_case("tagged.xlf",
                "tagged.xlf: a tagged story file, not an XLIFF file: give --format tagged to "
                "read it");
        co_case("binary.stt",
                "\"binary.stt\" is not text (it holds zero bytes), not a tagged story file");
        co_case("wide.stt",
                "\"wide.stt\" is UTF-16 text; a tagged story file is read as UTF-8: save it as "
                "UTF-8");
        co_case("missing.xlf", "cannot open \"missing.xlf\": No such file or directory");
        co_case("folder.stt", "cannot read \"folder.stt\"");
    }
    v_ExpectRefusals(co_cases);
    // Read in the format its content has, each goes in.
    EXPECT_EQ(co_Run({"check", "brochure.idml", "xliff.stt", "--format", "xliff"}).i_Status, 0);
    EXPECT_EQ(co_Run({"check", "brochure.idml", "tagged.xlf", "--format", "tagged"}).i_Status, 0);
}

// The log is appended to, so it never goes into a file the command works on or into a file
// that is plainly no log: the run is refused before anything is written.
TEST_F(CT_CliBadInputTest, TheLogNeverGoesIntoAFileOfTheWork) {
    v_CopyIn(s_Path("brochure.idml"), "copy.idml");
    const std::string s_own = ", which the command works on: give the log a file of its own";
    const std::string s_kind = ": give the log a file of its own; it was left as it is";
    v_ExpectRefusals({
        {{"--log", "brochure.idml", "export", "brochure.idml", "out.stt"},
         1,
         "storyport: error: the log file \"brochure.idml\" is brochure.idml" + s_own},
        {{"--log", "./out.stt", "export", "brochure.idml", "out.stt"},
         1,
         "storyport: error: the log file \"./out.stt\" is out.stt" + s_own},
        {{"--log", "brochure.fr.stt", "import", "brochure.idml", "brochure.fr.stt"},
         1,
         "storyport: error: the log file \"brochure.fr.stt\" is brochure.fr.stt" + s_own},
        {{"--log", "copy.idml", "list", "brochure.idml"},
         1,
         "storyport: error: the log file \"copy.idml\" is a zip archive (a document?)" + s_kind},
        {{"--log", "brochure.fr.stt", "list", "brochure.idml"},
         1,
         "storyport: error: the log file \"brochure.fr.stt\" is a tagged story file" + s_kind},
    });
    const CT_CliResult co_logged = co_Run({"--log", "run.log", "list", "brochure.idml", "--keys"});
    EXPECT_EQ(co_logged.i_Status, 0);
    EXPECT_TRUE(b_Exists("run.log"));
}

// Windows and old Mac line ends are read like LF ones, by import, check and batch import.
TEST_F(CT_CliBadInputTest, TaggedFilesWithCrLfOrCrLineEndsAreImported) {
    for (const char* pc_end : {"\r\n", "\r"}) {
        SCOPED_TRACE(pc_end[1] == '\n' ? "CR LF" : "CR");
        v_CopyIn(ss_Sample("brochure.idml"), "brochure.idml");
        v_Write("fr.stt", s_LineEnds(s_Read("brochure.fr.stt"), pc_end));
        const CT_CliResult co_check = co_Run({"check", "brochure.idml", "fr.stt"});
        EXPECT_EQ(co_check.i_Status, 0) << co_check.s_Out << co_check.s_Err;
        const CT_CliResult co_import = co_Run({"import", "brochure.idml", "fr.stt", "--no-backup"});
        EXPECT_EQ(co_import.i_Status, 0) << co_import.s_Err;
        EXPECT_EQ(co_Run({"export", "brochure.idml", "back.stt"}).i_Status, 0);
        EXPECT_EQ(s_Read("back.stt"), s_Read("brochure.fr.stt"));
    }
    fs::create_directory(s_Path("fr"));
    v_CopyIn(ss_Sample("brochure.idml"), "brochure.idml");
    v_Write("fr/brochure.stt", s_LineEnds(s_Read("brochure.fr.stt"), "\r\n"));
    const CT_CliResult co_batch =
        co_Run({"batch", "import", "--folder", "fr", "brochure.idml", "--no-backup"});
    EXPECT_EQ(co_batch.i_Status, 0) << co_batch.s_Err;
    EXPECT_EQ(co_Run({"export", "brochure.idml", "back.stt"}).i_Status, 0);
    EXPECT_EQ(s_Read("back.stt"), s_Read("brochure.fr.stt"));
    EXPECT_EQ(co_Listing(), (std::vector<std::string>{"back.stt", "brochure.fr.stt",
                                                      "brochure.idml", "config", "fr", "fr.stt"}));
}

// A document named through a link is imported where the link points, with its permissions; a
// read-only document, a folder or a missing file is refused by name.
TEST_F(CT_CliBadInputTest, ImportWritesThroughLinksAndRefusesWhatItCannotWrite) {
    fs::rename(s_Path("brochure.idml"), s_Path("real.idml"));
    fs::create_symlink("real.idml", s_Path("link.idml"));
    fs::permissions(s_Path("real.idml"),
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const std::string s_original = s_Read("real.idml");
    const CT_CliResult co_import = co_Run({"import", "link.idml", "brochure.fr.stt"});
    EXPECT_EQ(co_import.i_Status, 0) << co_import.s_Err;
    EXPECT_TRUE(fs::is_symlink(s_Path("link.idml")));
    EXPECT_NE(s_Read("real.idml"), s_original);
    EXPECT_EQ(s_Read("link.idml.bak"), s_original);
    EXPECT_EQ(fs::status(s_Path("real.idml")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    fs::permissions(s_Path("real.idml"), fs::perms::owner_read | fs::perms::group_read);
    fs::create_directory(s_Path("folder.idml"));
    v_ExpectRefusals({
        {{"import", "link.idml", "brochure.fr.stt"},
         1,
         "storyport: error: link.idml is read-only: nothing was imported (make it writable to "
         "import into it)"},
        {{"import", "folder.idml", "brochure.fr.stt"},
         1,
         "storyport: error: \"folder.idml\" is a folder, not an IDML package"},
        {{"export", "none.idml", "none.stt"},
         1,
         "storyport: error: cannot open \"none.idml\": no such file"},
    });
}

// A story the host refuses: the user reads where it is and that nothing was imported, not a
// count of stories that went into a copy that is thrown away.
TEST_F(CT_CliBadInputTest, RefusedStorySaysWhereAndThatNothingWasImported) {
    const std::string s_good = s_Read("brochure.fr.stt");
    v_Write("dropped.stt", s_Replaced(s_good, "pique-nique<x1/><x2/>", "pique-nique<x2/>"));
    v_Write("escape.stt", s_LineEnds(s_Replaced(s_good, "<x10/>", "<x10/>\\q"), "\r\n"));
    const auto co_before = co_Snapshot();
    const std::pair<const char*, const char*> aco_cases[] = {
        {"dropped.stt", "dropped.stt:28:1: story u205: code <x1/> is missing"},
        {"escape.stt", "escape.stt:42:7: story u21a: bad escape \"\\q\""},
    };
    for (const auto& [pc_file, pc_error] : aco_cases) {
        SCOPED_TRACE(pc_file);
        const CT_CliResult co_result = co_Run({"import", "brochure.idml", pc_file});
        EXPECT_EQ(co_result.i_Status, 1);
        EXPECT_EQ(co_result.s_Err, "Importing brochure.idml...\nError: " + std::string(pc_error) +
                                       "\nNothing was imported: brochure.idml was left as it "
                                       "was.\n");
        EXPECT_TRUE(co_Snapshot() == co_before);
    }
}

// A package whose entries are at odds with its directory reads, but copying its entries as they
// are could write what the directory does not describe: import refuses the save before anything
// is written, and check, whose trial import writes nothing, foretells it.
TEST_F(CT_CliBadInputTest, PackageAtOddsWithItselfIsNotSaved) {
    v_Write("brochure.idml", ss_AtOdds(s_Read("brochure.idml")));
    const auto co_before = co_Snapshot();
    for (const auto& [pc_command, pc_prefix] :
         {std::pair{"import", "storyport: error: "}, std::pair{"check", "Error: "}}) {
        const CT_CliResult co_result = co_Run({pc_command, "brochure.idml", "brochure.fr.stt"});
        EXPECT_EQ(co_result.i_Status, 1) << pc_command;
        EXPECT_EQ(sco_ErrorLines(co_result.s_Err),
                  std::vector<std::string>{pc_prefix + ("\"" + s_Path("brochure.idml")) +
                                           "\" cannot be written again: its entries are at odds "
                                           "with its directory (Zip archive inconsistent)"})
            << co_result.s_Err;
        EXPECT_TRUE(co_Snapshot() == co_before) << pc_command;
    }
}

// What killed runs left, beside the document and in the temporary folder, goes with the next
// run: the folder of this machine's process that ended, or whose id now runs under a later
// start; the folder of a live run and that of another machine stay. An XLIFF import killed
// half-way leaves its folders, which the next run removes. Every import keeps its own backup.
TEST_F(CT_CliBadInputTest, LeftoversOfKilledRunsGoAndBackupsAreNeverReplaced) {
    char ac_host[256] = {};
    ASSERT_EQ(gethostname(ac_host, sizeof ac_host - 1), 0);
    std::ifstream co_stat("/proc/self/stat");
    std::string s_stat;
    std::getline(co_stat, s_stat);
    std::istringstream co_fields(s_stat.substr(s_stat.rfind(')') + 2));
    std::vector<std::string> co_field{std::istream_iterator<std::string>(co_fields), {}};
    ASSERT_GT(co_field.size(), 19u);
    const std::string s_run = std::string("storyport-") + ac_host + "-";
    const std::string s_live = s_run + std::to_string(getpid()) + "-" + co_field[19];
    const std::string s_other = "storyport-elsewhere-999999999-1";
    fs::create_directory(s_Path("tmp"));
    pco_Runner->v_SetEnv("TMPDIR", s_Path("tmp"));
    const std::string s_user = "tmp/storyport-" + std::to_string(getuid()) + "/";
    ASSERT_EQ(co_Run({"export", "brochure.idml", "b.xlf", "--target-lang", "fr"}).i_Status, 0);
    // Beside a document the folders are hidden.
    const std::vector<std::string> co_places = {".", s_user};
    for (const std::string& s_where : co_places) {
        for (const std::string& s_name : {s_live, s_other}) {
            fs::create_directory(s_Path(s_where + (s_where == "." ? "/." : "/") + s_name));
        }
    }
    const auto co_before = co_Snapshot();
    for (const std::string& s_where : co_places) {
        for (const std::string& s_gone :
             {s_run + "999999999-1", s_run + std::to_string(getpid()) + "-1"}) {
            const std::string s_folder = s_where + (s_where == "." ? "/." : "/") + s_gone;
            fs::create_directories(s_Path(s_folder + "/inner"));
            v_Write(s_folder + "/inner/brochure.idml", "copy");
        }
    }
    v_Write("brochure.idml.bak.partial", "half");
    EXPECT_EQ(co_Run({"list", "brochure.idml"}).i_Status, 0);
    EXPECT_TRUE(co_Snapshot() == co_before);

    // Killed while it waits at a step of its own, as a loaded machine could not make it wait
    // for a line it prints.
    pco_Runner->v_SetEnv("STORYPORT_PAUSE_AT_STEP", "4");
    const CT_CliResult co_killed = pco_Runner->co_RunAndInterrupt(
        {"import", "brochure.idml", "b.xlf"}, "storyport: paused at step 4", SIGKILL);
    pco_Runner->v_SetEnv("STORYPORT_PAUSE_AT_STEP", "");
    EXPECT_EQ(co_killed.i_Status, 128 + SIGKILL) << co_killed.s_Err;
    EXPECT_FALSE(co_Snapshot() == co_before);
    EXPECT_EQ(co_Run({"list", "brochure.idml"}).i_Status, 0);
    EXPECT_TRUE(co_Snapshot() == co_before);

    const std::string s_original = s_Read("brochure.idml");
    EXPECT_EQ(co_Run({"import", "brochure.idml", "brochure.fr.stt"}).i_Status, 0);
    const std::string s_first = s_Read("brochure.idml");
    const CT_CliResult co_second = co_Run({"import", "brochure.idml", "brochure.fr.stt"});
    EXPECT_EQ(co_second.i_Status, 0);
    EXPECT_EQ(sco_Lines(co_second.s_Err).back(),
              "The document as it was is kept in brochure.idml.bak.2.");
    EXPECT_EQ(s_Read("brochure.idml.bak"), s_original);
    EXPECT_EQ(s_Read("brochure.idml.bak.2"), s_first);
    std::vector<std::string> co_left = {"." + s_live,          "." + s_other,   "b.xlf",
                                        "brochure.fr.stt",     "brochure.idml", "brochure.idml.bak",
                                        "brochure.idml.bak.2", "config",        "tmp"};
    std::sort(co_left.begin(), co_left.end());
    EXPECT_EQ(co_Listing(), co_left);
}

TEST_F(CT_CliBadInputTest, OrderFileHelpPromisesNoKeeping) {
    const CT_CliResult co_help = co_Run({"list", "--help"});
    EXPECT_EQ(co_help.i_Status, 0);
    EXPECT_EQ(co_help.s_Out.find("kept"), std::string::npos);
    EXPECT_NE(co_help.s_Out.find("give the file again to reuse it"), std::string::npos);
}
