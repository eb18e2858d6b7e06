// Export, check and import of one document by path, with what the user sees in the log and
// what is left on disk, also when the input is broken.
#include "tests/tools/ct_cli_fixture.h"

namespace {
// The sample's tagged file with one story's text replaced.
std::string s_WithStory(std::string s_Tagged, const std::string& s_Old, const std::string& s_New) {
    const std::size_t n_at = s_Tagged.find(s_Old);
    return n_at == std::string::npos ? s_Tagged : s_Tagged.replace(n_at, s_Old.size(), s_New);
}

// What check says before its fit report, which ends its output after an empty line.
std::string s_Findings(const std::string& s_Out) {
    return s_Out.substr(0, s_Out.find("\n\n") + 1);
}
}  // namespace

TEST_F(CT_CliTest, ExportWritesTheStoriesAndLogsTheKernelLinesWithoutProgressOnAPipe) {
    const CT_CliResult co_result = co_Run({"export", "brochure.idml", "brochure.stt"});
    EXPECT_EQ(co_result.i_Status, 0);
    EXPECT_EQ(co_result.s_Out, "");
    EXPECT_EQ(co_result.s_Err, "Exporting brochure.idml...\n7 stories have been exported.\n\n");
    const std::string s_tagged = s_Read("brochure.stt");
    const std::string s_start =
        "<STORYPORT-TAGGED-TEXT VERSION=\"1\">\n<STORY NAME=\"u1c2\" "
        "LOCATION=\"MA-Master1\">Alpine Travel \xC2\xB7 Summer 2024 \xC2\xB7 <x1/>\n</STORY>\n";
    EXPECT_EQ(s_tagged.substr(0, s_start.size()), s_start);
    EXPECT_NE(s_tagged.find("Kids \\< 12 years\tfree\n"), std::string::npos);
}

// The shipped translation goes in, the document as it was is kept, the log file receives what
// standard error shows, and exporting again gives the translation back byte for byte.
TEST_F(CT_CliTest, ImportTranslationKeepsBackupAndExportsBackTheSameFile) {
    const std::string s_original = s_Read("brochure.idml");
    const CT_CliResult co_import =
        co_Run({"import", "brochure.idml", "brochure.fr.stt", "--log", "run.log"});
    EXPECT_EQ(co_import.i_Status, 0);
    EXPECT_EQ(co_import.s_Err,
              "Importing brochure.idml...\n7 stories have been imported.\n\n"
              "The document as it was is kept in brochure.idml.bak.\n");
    EXPECT_EQ(s_Read("run.log"), co_import.s_Err);
    EXPECT_EQ(s_Read("brochure.idml.bak"), s_original);
    EXPECT_EQ(co_Run({"export", "brochure.idml", "again.stt"}).i_Status, 0);
    EXPECT_EQ(s_Read("again.stt"), s_Read("brochure.fr.stt"));
    EXPECT_EQ(co_Listing(),
              (std::vector<std::string>{"again.stt", "brochure.fr.stt", "brochure.idml",
                                        "brochure.idml.bak", "config", "run.log"}));
}

TEST_F(CT_CliTest, CheckReportsAgreementAndDifferences) {
    CT_CliResult co_result = co_Run({"check", "brochure.idml", "brochure.fr.stt"});
    EXPECT_EQ(co_result.i_Status, 0);
    EXPECT_EQ(s_Findings(co_result.s_Out),
              "brochure.idml: 7 stories\nbrochure.fr.stt: 7 stories\n"
              "Note: the file's name is not the document's name\nAn import would be clean.\n");
    std::string s_tagged = s_Read("brochure.fr.stt");
    s_tagged = s_WithStory(s_tagged, "NAME=\"u1d6\"", "NAME=\"u999\"");
    v_Write("brochure.stt", s_tagged);
    co_result = co_Run({"check", "brochure.idml", "brochure.stt"});
    EXPECT_EQ(co_result.i_Status, 3);
    EXPECT_EQ(s_Findings(co_result.s_Out),
              "brochure.idml: 7 stories\nbrochure.stt: 7 stories\n"
              "Not in the document: u999\n"
              "Not in the file: u1d6 (Story 3: Summer in the Alps)\n"
              "An import would not be clean.\n");
}

// Check imports into a copy on the one reading of the document it compares and measures: an
// import goes through exactly when check foresaw it as clean. A translation whose last story
// drops an object code is refused by the host after the other stories went in: check and
// import each give one error line naming the story and leave every file as it was.
TEST_F(CT_CliTest, CheckForeseesTheOutcomeOfTheImport) {
    const std::string s_original = s_Read("brochure.idml");
    const std::string s_fr = s_Read("brochure.fr.stt");
    ASSERT_EQ(co_Run({"export", "brochure.idml", "same.stt"}).i_Status, 0);
    const std::vector<std::pair<const char*, std::string>> co_cases = {
        {"translation", s_fr},
        {"untranslated", s_Read("same.stt")},
        {"unknown key", s_WithStory(s_fr, "NAME=\"u1d6\"", "NAME=\"u999\"")},
        {"dropped object", s_WithStory(s_fr, "<x10/>", "")},
        {"story twice", s_WithStory(s_fr, "NAME=\"u1d6\"", "NAME=\"u21a\"")},
    };
    for (const auto& [pc_case, s_tagged] : co_cases) {
        SCOPED_TRACE(pc_case);
        v_Write("brochure.idml", s_original);
        v_Write("t.stt", s_tagged);
        const std::vector<std::string> co_before = co_Listing();
        const CT_CliResult co_check = co_Run({"check", "brochure.idml", "t.stt"});
        EXPECT_EQ(s_Read("brochure.idml"), s_original);
        const CT_CliResult co_import = co_Run({"import", "brochure.idml", "t.stt", "--no-backup"});
        EXPECT_EQ(co_check.i_Status == 0, co_import.i_Status == 0)
            << co_check.i_Status << " " << co_import.i_Status;
        EXPECT_EQ(s_Read("brochure.idml") == s_original,
                  co_import.i_Status != 0 || s_tagged != s_fr);
        if (std::string(pc_case) == "dropped object") {
            for (const CT_CliResult& co_result : {co_check, co_import}) {
                EXPECT_EQ(co_result.i_Status, 1);
                const std::vector<std::string> co_errors = sco_ErrorLines(co_result.s_Err);
                ASSERT_EQ(co_errors.size(), 1u) << co_result.s_Err;
                EXPECT_NE(co_errors[0].find("u21a"), std::string::npos) << co_errors[0];
            }
            EXPECT_EQ(co_Listing(), co_before);
        }
    }
}

TEST_F(CT_CliTest, BrokenPackageGivesOneErrorNamingItAndWritesNothing) {
    v_Write("broken.idml", s_Read("brochure.idml").substr(0, 3000));
    const std::string s_earlier = "<STORYPORT-TAGGED-TEXT VERSION=\"1\">\nearlier export\n";
    v_Write("old.stt", s_earlier);
    const std::vector<std::string> co_before = co_Listing();
    for (const std::vector<std::string>& co_args :
         std::vector<std::vector<std::string>>{{"list", "broken.idml"},
                                               {"export", "broken.idml", "old.stt"},
                                               {"check", "broken.idml", "brochure.fr.stt"},
                                               {"import", "broken.idml", "brochure.fr.stt"}}) {
        SCOPED_TRACE(co_args[0]);
        const CT_CliResult co_result = co_Run(co_args);
        EXPECT_EQ(co_result.i_Status, 1);
        const std::vector<std::string> co_errors = sco_ErrorLines(co_result.s_Err);
        ASSERT_EQ(co_errors.size(), 1u) << co_result.s_Err;
        EXPECT_NE(co_errors[0].find(s_Path("broken.idml")), std::string::npos) << co_errors[0];
        EXPECT_EQ(co_Listing(), co_before);
        EXPECT_EQ(s_Read("old.stt"), s_earlier);
    }
}
