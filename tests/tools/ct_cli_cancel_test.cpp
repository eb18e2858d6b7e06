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

// A tagged or an XLIFF export: the earlier file stays, and no story is counted as exported.
TEST_F(CT_CliCancelTest, CanceledExportKeepsTheEarlierFile) {
    const std::string s_earlier = "<STORYPORT-TAGGED-TEXT VERSION=\"1\">\nearlier export\n";
    for (const std::vector<std::string>& co_args :
         {std::vector<std::string>{"export", "brochure.idml", "brochure.stt"},
          {"export", "brochure.idml", "brochure.xlf", "--target-lang", "fr", "--force"}}) {
        SCOPED_TRACE(co_args[2]);
        v_Write(co_args[2], s_earlier);
        const CT_CliResult co_result = co_Interrupt(co_args, 3);
        EXPECT_EQ(co_result.i_Status, 130);
        EXPECT_EQ(co_result.s_Err,
                  "Exporting brochure.idml...\nstoryport: paused at step 3\nExport canceled.\n\n");
        EXPECT_EQ(s_Read(co_args[2]), s_earlier);
        EXPECT_EQ(co_Listing(), (std::vector<std::string>{"brochure.fr.stt", "brochure.idml",
                                                          co_args[2], "config"}));
        std::remove(s_Path(co_args[2]).c_str());
    }
}

// A terminal closed or a service stopped ends the run as Ctrl-C does: nothing changed, no
// backup, nothing left behind, and the signal in the exit status.
TEST_F(CT_CliCancelTest, CanceledImportLeavesTheDocumentAndMakesNoBackup) {
    const auto co_before = co_Snapshot();
    for (const int i_signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(i_signal);
        const CT_CliResult co_result =
            co_Interrupt({"import", "brochure.idml", "brochure.fr.stt"}, 4, i_signal);
        EXPECT_EQ(co_result.i_Status, 128 + i_signal);
        EXPECT_EQ(co_result.s_Err,
                  "Importing brochure.idml...\nstoryport: paused at step 4\n"
                  "Warning: there are one or more stories in the document that cannot be found in "
                  "the tagged text file.\nImport canceled.\n\n"
                  "Nothing was imported: brochure.idml was left as it was.\n");
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
