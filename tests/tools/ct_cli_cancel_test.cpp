// Ctrl-C during an export or an import: a real SIGINT, sent while the command waits at a known
// step (STORYPORT_PAUSE_AT_STEP), ends the operation the way the kernel ends a cancel, with
// exit status 130 and every file as it was.
#include "tests/tools/ct_cli_fixture.h"

class CT_CliCancelTest : public CT_CliTest {
  protected:
    CT_CliResult co_Interrupt(const std::vector<std::string>& co_Args, unsigned n_Step,
                              int i_Signal = SIGINT) {
        pco_Runner->v_SetEnv("STORYPORT_PAUSE_AT_STEP", std::to_string(n_Step));
        return pco_Runner->co_RunAndInterrupt(
            co_Args, "storyport: paused at step " + std::to_string(n_Step), i_Signal);
    }
};

TEST_F(CT_CliCancelTest, CanceledExportKeepsTheEarlierTaggedFile) {
    const std::string s_earlier = "<STORYPORT-TAGGED-TEXT VERSION=\"1\">\nearlier export\n";
    v_Write("brochure.stt", s_earlier);
    const CT_CliResult co_result = co_Interrupt({"export", "brochure.idml", "brochure.stt"}, 3);
    EXPECT_EQ(co_result.i_Status, 130);
    EXPECT_EQ(co_result.s_Err,
              "Exporting brochure.idml...\nstoryport: paused at step 3\nExport canceled.\n\n");
    EXPECT_EQ(s_Read("brochure.stt"), s_earlier);
    EXPECT_EQ(co_Listing(), (std::vector<std::string>{"brochure.fr.stt", "brochure.idml",
                                                      "brochure.stt", "config"}));
}

TEST_F(CT_CliCancelTest, CanceledXliffExportKeepsTheEarlierFileAndCountsNoStories) {
    v_Write("brochure.xlf", "earlier export");
    const CT_CliResult co_result = co_Interrupt(
        {"export", "brochure.idml", "brochure.xlf", "--target-lang", "fr", "--force"}, 3);
    EXPECT_EQ(co_result.i_Status, 130);
    EXPECT_EQ(co_result.s_Err,
              "Exporting brochure.idml...\nstoryport: paused at step 3\nExport canceled.\n\n");
    EXPECT_EQ(s_Read("brochure.xlf"), "earlier export");
    EXPECT_EQ(co_Listing(), (std::vector<std::string>{"brochure.fr.stt", "brochure.idml",
                                                      "brochure.xlf", "config"}));
}

TEST_F(CT_CliCancelTest, CanceledImportLeavesTheDocumentAndMakesNoBackup) {
    const std::string s_original = s_Read("brochure.idml");
    const CT_CliResult co_result = co_Interrupt({"import", "brochure.idml", "brochure.fr.stt"}, 4);
    EXPECT_EQ(co_result.i_Status, 130);
    EXPECT_EQ(co_result.s_Err,
              "Importing brochure.idml...\nstoryport: paused at step 4\n"
              "Warning: there are one or more stories in the document that cannot be found in "
              "the tagged text file.\nImport canceled.\n\n"
              "Nothing was imported: brochure.idml was left as it was.\n");
    EXPECT_EQ(s_Read("brochure.idml"), s_original);
    EXPECT_EQ(co_Listing(),
              (std::vector<std::string>{"brochure.fr.stt", "brochure.idml", "config"}));
}

// A terminal closed or a service stopped ends the run as Ctrl-C does: nothing changed, nothing
// left behind, and the signal in the exit status.
TEST_F(CT_CliCancelTest, TerminatedImportLeavesNothingBehind) {
    for (const int i_signal : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(i_signal);
        const auto co_before = co_Snapshot();
        const CT_CliResult co_result =
            co_Interrupt({"import", "brochure.idml", "brochure.fr.stt"}, 4, i_signal);
        EXPECT_EQ(co_result.i_Status, 128 + i_signal);
        EXPECT_EQ(sco_Lines(co_result.s_Err).back(),
                  "Nothing was imported: brochure.idml was left as it was.");
        EXPECT_TRUE(co_Snapshot() == co_before);
    }
}

TEST_F(CT_CliCancelTest, CanceledBatchKeepsTheDocumentsDoneBeforeIt) {
    v_CopyIn(s_Path("brochure.idml"), "second.idml");
    const CT_CliResult co_result = co_Interrupt(
        {"batch", "export", "--jobs", "1", "--folder", "out", "brochure.idml", "second.idml"}, 9);
    EXPECT_EQ(co_result.i_Status, 130);
    EXPECT_NE(co_result.s_Err.find("Export canceled.\n"), std::string::npos);
    EXPECT_EQ(co_result.s_Err.substr(co_result.s_Err.size() - 16), "Batch canceled.\n");
    EXPECT_EQ(co_Listing("out"), (std::vector<std::string>{"brochure.stt"}));
}
