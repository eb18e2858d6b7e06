// The command in a shell pipeline: "-" for the standard streams, quiet runs, and output that
// cannot be written.
#include "tests/tools/ct_cli_fixture.h"

namespace {
// Runs a shell line in the test's folder with $SP the storyport command.
CT_CliResult co_Shell(const CT_CliRunner& co_Runner, const std::string& s_Line) {
    return co_Runner.co_RunProgram("/bin/sh", {"-c", "SP='" STORYPORT_CLI "'; " + s_Line});
}
}  // namespace

// Export to "-" writes what export to a file writes, tagged or XLIFF; import and check read
// "-" and tell XLIFF from tagged by what it holds; no file named "-" is ever made, and an
// input stream's faults are named as standard input's.
TEST_F(CT_CliTest, DashIsTheStandardStreams) {
    ASSERT_EQ(co_Run({"export", "brochure.idml", "file.stt"}).i_Status, 0);
    const CT_CliResult co_tagged = co_Shell(*pco_Runner, "$SP export brochure.idml - > out.stt");
    EXPECT_EQ(co_tagged.i_Status, 0) << co_tagged.s_Err;
    EXPECT_EQ(co_tagged.s_Err, "Exporting brochure.idml...\n7 stories have been exported.\n\n");
    EXPECT_EQ(s_Read("out.stt"), s_Read("file.stt"));
    ASSERT_EQ(co_Shell(*pco_Runner,
                       "$SP --quiet export brochure.idml - --format xliff --target-lang fr "
                       "--no-target > out.xlf")
                  .s_Err,
              "");
    EXPECT_NE(s_Read("out.xlf").find("<xliff"), std::string::npos);

    const CT_CliResult co_check =
        co_Shell(*pco_Runner, "$SP check brochure.idml - < brochure.fr.stt");
    EXPECT_EQ(co_check.i_Status, 0) << co_check.s_Err;
    EXPECT_NE(co_check.s_Out.find("An import would be clean."), std::string::npos);
    EXPECT_NE(co_Shell(*pco_Runner, "$SP check brochure.idml - --json < brochure.fr.stt")
                  .s_Out.find("\"file\": \"standard input\""),
              std::string::npos);
    // An XLIFF file read by its content: an untranslated one is refused as such.
    const CT_CliResult co_xliff =
        co_Shell(*pco_Runner, "$SP import brochure.idml - --require-translated < out.xlf");
    EXPECT_EQ(co_xliff.i_Status, 1);
    ASSERT_EQ(sco_ErrorLines(co_xliff.s_Err).size(), 1u) << co_xliff.s_Err;
    EXPECT_EQ(sco_ErrorLines(co_xliff.s_Err)[0].rfind(
                  "storyport: error: standard input: --require-translated: not translated", 0),
              0u)
        << co_xliff.s_Err;
    const CT_CliResult co_import =
        co_Shell(*pco_Runner, "$SP -q import brochure.idml - --no-backup < brochure.fr.stt");
    EXPECT_EQ(co_import.i_Status, 0) << co_import.s_Err;
    EXPECT_EQ(co_import.s_Err, "");
    ASSERT_EQ(co_Run({"export", "brochure.idml", "again.stt"}).i_Status, 0);
    EXPECT_EQ(s_Read("again.stt"), s_Read("brochure.fr.stt"));
    EXPECT_FALSE(b_Exists("-"));
}

// Data that does not reach standard output fails the command, and a failed export writes none.
TEST_F(CT_CliTest, OutputThatCannotBeWrittenIsAnError) {
    for (const char* pc_line :
         {"$SP list brochure.idml > /dev/full", "$SP export brochure.idml - > /dev/full",
          "$SP settings show > /dev/full", "$SP --help > /dev/full"}) {
        SCOPED_TRACE(pc_line);
        const CT_CliResult co_result = co_Shell(*pco_Runner, pc_line);
        EXPECT_EQ(co_result.i_Status, 1);
        ASSERT_EQ(sco_ErrorLines(co_result.s_Err).size(), 1u) << co_result.s_Err;
        EXPECT_EQ(sco_ErrorLines(co_result.s_Err)[0].rfind(
                      "storyport: error: cannot write to standard output: ", 0),
                  0u);
    }
    const CT_CliResult co_closed = co_Shell(*pco_Runner, "$SP list brochure.idml >&-");
    EXPECT_EQ(co_closed.i_Status, 1);
    EXPECT_EQ(sco_ErrorLines(co_closed.s_Err).size(), 1u) << co_closed.s_Err;
    const CT_CliResult co_failed = co_Shell(*pco_Runner, "$SP export missing.idml - > out.stt");
    EXPECT_EQ(co_failed.i_Status, 1);
    EXPECT_EQ(s_Read("out.stt"), "");
}
