// Batches over several documents: tagged files named after the documents, the summary line,
// documents that fail, and documents changed only by their own clean import.
#include <filesystem>

#include "tests/tools/ct_cli_fixture.h"

TEST_F(CT_CliTest, BatchFolderComesFromTheSettings) {
    EXPECT_EQ(co_Run({"batch", "export", "brochure.idml"}).i_Status, 2);
    ASSERT_EQ(co_Run({"settings", "set", "export-folder", s_Path("out")}).i_Status, 0);
    EXPECT_EQ(co_Run({"batch", "export", "brochure.idml"}).i_Status, 0);
    EXPECT_EQ(co_Listing("out"), (std::vector<std::string>{"brochure.stt"}));
}

// A document that fails (a broken package first, a refused translation, a missing tagged file)
// is named and left as it was while the others go on. Workers change how a batch runs, never
// what it gives: the same log after its time line, the same exit status and the same files as
// one process handling the documents in turn, also when failures come before any document is
// done (the workers then wait for the documents before theirs, as an error could end the batch).
TEST_F(CT_CliTest, BatchInWorkersGivesWhatTheSequentialBatchGives) {
    v_CopyIn(s_Path("brochure.idml"), "second.idml");
    v_CopyIn(s_Path("brochure.idml"), "third.idml");
    v_Write("broken.idml", "not a package");
    const std::vector<std::string> co_documents = {"broken.idml", "second.idml", "brochure.idml",
                                                   "third.idml"};
    auto co_Batch = [&](const std::string& s_Kind, const std::string& s_Folder,
                        const std::string& s_Jobs) {
        std::vector<std::string> co_args = {"batch",  s_Kind,   "--folder",
                                            s_Folder, "--jobs", s_Jobs};
        co_args.insert(co_args.end(), co_documents.begin(), co_documents.end());
        CT_CliResult co_result = co_Run(co_args);
        co_result.s_Err.erase(0, co_result.s_Err.find('\n'));  // the time line
        return co_result;
    };
    const CT_CliResult co_one = co_Batch("export", "one", "1");
    const CT_CliResult co_two = co_Batch("export", "two", "2");
    EXPECT_EQ(co_one.i_Status, 1);
    const std::vector<std::string> co_lines = sco_Lines(co_one.s_Err);
    ASSERT_EQ(co_lines.size(), 16u) << co_one.s_Err;
    EXPECT_EQ(co_lines[1], "----------------------------------------");
    EXPECT_EQ(co_lines[3],
              "Error: \"" + s_Path("broken.idml") + "\" is not an IDML package: Not a zip archive");
    EXPECT_EQ(co_lines[5], "Exporting second.idml...");
    EXPECT_EQ(co_lines.back(), "Batch finished but contains one or more errors (see above).");
    EXPECT_EQ(sco_ErrorLines(co_one.s_Err).size(), 1u);
    EXPECT_EQ(co_two.i_Status, co_one.i_Status);
    EXPECT_EQ(co_two.s_Err, co_one.s_Err);
    EXPECT_EQ(co_Listing("one"),
              (std::vector<std::string>{"brochure.stt", "second.stt", "third.stt"}));
    EXPECT_EQ(co_Listing("two"), co_Listing("one"));
    for (const std::string& s_file : co_Listing("one")) {
        EXPECT_EQ(s_Read("two/" + s_file), s_Read("one/" + s_file)) << s_file;
    }

    // The second document's translation drops an object and is refused, the third has none;
    // the brochure goes in.
    std::filesystem::create_directory(s_Path("fr"));
    v_CopyIn(s_Path("brochure.fr.stt"), "fr/brochure.stt");
    v_CopyIn(s_Path("brochure.fr.stt"), "fr/broken.stt");
    std::string s_refused = s_Read("brochure.fr.stt");
    s_refused.replace(s_refused.find("<x10/>"), 6, "");
    v_Write("fr/second.stt", s_refused);
    const std::string s_original = s_Read("brochure.idml");
    const CT_CliResult co_sequential = co_Batch("import", "fr", "1");
    EXPECT_EQ(co_sequential.i_Status, 1);
    const std::vector<std::string> co_errors = sco_ErrorLines(co_sequential.s_Err);
    ASSERT_EQ(co_errors.size(), 3u) << co_sequential.s_Err;
    EXPECT_EQ(co_errors[2],
              "storyport: error: cannot open \"fr/third.stt\": No such file or "
              "directory");
    EXPECT_EQ(sco_Lines(co_sequential.s_Err).back(), "third.idml was left as it was.");
    EXPECT_NE(co_sequential.s_Err.find("\nsecond.idml was left as it was.\n"), std::string::npos);
    // A saved package carries the time of its entries, so the documents are compared by their
    // stories.
    ASSERT_EQ(co_Run({"export", "brochure.idml", "sequential.stt"}).i_Status, 0);
    EXPECT_EQ(s_Read("sequential.stt"), s_Read("brochure.fr.stt"));
    EXPECT_EQ(s_Read("brochure.idml.bak"), s_original);
    v_Write("brochure.idml", s_original);
    std::filesystem::remove(s_Path("brochure.idml.bak"));
    const CT_CliResult co_parallel = co_Batch("import", "fr", "2");
    EXPECT_EQ(co_parallel.i_Status, co_sequential.i_Status);
    EXPECT_EQ(co_parallel.s_Err, co_sequential.s_Err);
    ASSERT_EQ(co_Run({"export", "brochure.idml", "parallel.stt"}).i_Status, 0);
    EXPECT_EQ(s_Read("parallel.stt"), s_Read("sequential.stt"));
    EXPECT_EQ(s_Read("second.idml"), s_original);
    EXPECT_EQ(s_Read("third.idml"), s_original);
    EXPECT_EQ(co_Listing(),
              (std::vector<std::string>{"brochure.fr.stt", "brochure.idml", "brochure.idml.bak",
                                        "broken.idml", "config", "fr", "one", "parallel.stt",
                                        "second.idml", "sequential.stt", "third.idml", "two"}));
}

// A document whose save is refused (its entries at odds with its directory) is named by the
// batch, which puts the other documents in place and leaves that one as it was, with the same
// log and status in workers as in one process.
TEST_F(CT_CliTest, BatchImportReportsADocumentWhoseSaveIsRefusedAndGoesOn) {
    const std::string s_original = s_Read("brochure.idml");
    const std::string s_odd = ss_AtOdds(s_original);
    std::filesystem::create_directory(s_Path("fr"));
    v_CopyIn(s_Path("brochure.fr.stt"), "fr/brochure.stt");
    v_CopyIn(s_Path("brochure.fr.stt"), "fr/second.stt");
    std::vector<std::string> co_logs;
    for (const char* pc_jobs : {"1", "2"}) {
        SCOPED_TRACE(pc_jobs);
        v_Write("second.idml", s_odd);
        v_Write("brochure.idml", s_original);
        std::filesystem::remove(s_Path("brochure.idml.bak"));
        CT_CliResult co_result = co_Run({"batch", "import", "--folder", "fr", "--jobs", pc_jobs,
                                         "second.idml", "brochure.idml"});
        EXPECT_EQ(co_result.i_Status, 1);
        const std::vector<std::string> co_errors = sco_ErrorLines(co_result.s_Err);
        ASSERT_EQ(co_errors.size(), 1u) << co_result.s_Err;
        EXPECT_EQ(co_errors[0], "storyport: error: " + s_Path("second.idml") + ": \"" +
                                    s_Path("second.idml") +
                                    "\" cannot be written again: its entries are at odds with "
                                    "its directory (Zip archive inconsistent)");
        EXPECT_EQ(sco_Lines(co_result.s_Err).back(), "second.idml was left as it was.");
        EXPECT_EQ(s_Read("second.idml"), s_odd);
        EXPECT_FALSE(b_Exists("second.idml.bak"));
        EXPECT_EQ(s_Read("brochure.idml.bak"), s_original);
        ASSERT_EQ(co_Run({"export", "brochure.idml", "check.stt"}).i_Status, 0);
        EXPECT_EQ(s_Read("check.stt"), s_Read("brochure.fr.stt"));
        co_logs.push_back(co_result.s_Err.erase(0, co_result.s_Err.find('\n')));  // the time
    }
    EXPECT_EQ(co_logs[1], co_logs[0]);
}

// Documents of one name in different folders would write one file: the batch is refused before
// anything is written. A translation in the folder stays unless forced, and is then kept once
// as a backup, in workers as in one process; the refusal comes first, the summary stays last.
TEST_F(CT_CliTest, BatchExportNeverWritesOneFileTwiceNorOverATranslation) {
    std::filesystem::create_directory(s_Path("a"));
    v_CopyIn(s_Path("brochure.idml"), "a/brochure.idml");
    const CT_CliResult co_shared =
        co_Run({"batch", "export", "--folder", "out", "brochure.idml", "a/brochure.idml"});
    EXPECT_EQ(co_shared.i_Status, 1);
    EXPECT_EQ(sco_ErrorLines(co_shared.s_Err),
              (std::vector<std::string>{
                  "storyport: error: brochure.idml and a/brochure.idml would both be exported to "
                  "out/brochure.stt: nothing was exported (export them to different folders, or "
                  "one at a time)"}))
        << co_shared.s_Err;
    EXPECT_FALSE(b_Exists("out"));

    v_CopyIn(s_Path("brochure.idml"), "second.idml");
    const std::string s_translation = s_Read("brochure.fr.stt");
    for (const std::string s_jobs : {"1", "2"}) {
        SCOPED_TRACE(s_jobs);
        const std::string s_out = "out" + s_jobs;
        std::filesystem::create_directory(s_Path(s_out));
        v_Write(s_out + "/brochure.stt", s_translation);
        std::vector<std::string> co_args = {"batch",  "export", "--folder",      s_out,
                                            "--jobs", s_jobs,   "brochure.idml", "second.idml"};
        const CT_CliResult co_kept = co_Run(co_args);
        EXPECT_EQ(co_kept.i_Status, 1);
        const std::vector<std::string> co_errors = sco_ErrorLines(co_kept.s_Err);
        ASSERT_EQ(co_errors.size(), 1u) << co_kept.s_Err;
        EXPECT_EQ(co_errors[0].rfind(
                      "storyport: error: " + s_out + "/brochure.stt holds a translation (", 0),
                  0u)
            << co_errors[0];
        EXPECT_EQ(sco_Lines(co_kept.s_Err).front(), co_errors[0]);
        EXPECT_EQ(sco_Lines(co_kept.s_Err).back(), "Batch finished.");
        EXPECT_EQ(s_Read(s_out + "/brochure.stt"), s_translation);
        EXPECT_EQ(co_Listing(s_out), (std::vector<std::string>{"brochure.stt", "second.stt"}));

        co_args.push_back("--force");
        const CT_CliResult co_forced = co_Run(co_args);
        EXPECT_EQ(co_forced.i_Status, 0) << co_forced.s_Err;
        EXPECT_EQ(sco_Lines(co_forced.s_Err).back(),
                  "The file as it was is kept in " + s_out + "/brochure.stt.bak.");
        EXPECT_EQ(s_Read(s_out + "/brochure.stt.bak"), s_translation);
        EXPECT_EQ(s_Read(s_out + "/brochure.stt"), s_Read(s_out + "/second.stt"));
        EXPECT_EQ(co_Listing(s_out),
                  (std::vector<std::string>{"brochure.stt", "brochure.stt.bak", "second.stt"}));
    }
}

// Documents found in folders keep their subfolders below the batch folder, so two x.idml never
// write one file; hidden and excluded folders and a link to a folder (a loop here) are passed
// over, in workers as in one process. A list on standard input keeps each path's folders, so
// the import reads each file where the export wrote it; a path climbing out is refused.
TEST_F(CT_CliTest, BatchOverFoldersKeepsSubfoldersApart) {
    for (const char* pc_folder : {"cat/a", "cat/b/old", "cat/.hidden"}) {
        std::filesystem::create_directories(s_Path(pc_folder));
    }
    for (const char* pc_name :
         {"cat/a/x.idml", "cat/b/x.idml", "cat/b/old/y.idml", "cat/.hidden/z.idml", "cat/T.IDML"}) {
        v_CopyIn(s_Path("brochure.idml"), pc_name);
    }
    v_Write("cat/notes.txt", "not a document");
    std::filesystem::create_directory_symlink("..", s_Path("cat/a/loop"));
    std::vector<std::string> co_logs;
    for (const std::string s_jobs : {"1", "2"}) {
        CT_CliResult co_result = co_Run({"batch", "export", "--folder", "out" + s_jobs, "--jobs",
                                         s_jobs, "--recursive", "--exclude", "old", "cat"});
        EXPECT_EQ(co_result.i_Status, 0) << co_result.s_Err;
        co_logs.push_back(co_result.s_Err.erase(0, co_result.s_Err.find('\n')));
    }
    EXPECT_EQ(co_Listing("out1"), (std::vector<std::string>{"T.stt", "a", "b"}));
    for (const char* pc_sub : {"", "/a", "/b"}) {
        EXPECT_EQ(co_Listing("out2" + std::string(pc_sub)),
                  co_Listing("out1" + std::string(pc_sub)));
    }
    EXPECT_EQ(co_Listing("out1/b"), (std::vector<std::string>{"x.stt"}));
    EXPECT_EQ(co_logs[1], co_logs[0]);
    EXPECT_EQ(co_Run({"batch", "export", "--folder", "flat", "cat"}).i_Status, 0);
    EXPECT_EQ(co_Listing("flat"), (std::vector<std::string>{"T.stt"}));
    co_Run({"batch", "export", "--folder", "only", "--recursive", "--include", "b/*", "cat"});
    EXPECT_EQ(co_Listing("only"), (std::vector<std::string>{"b"}));
    EXPECT_EQ(co_Listing("only/b"), (std::vector<std::string>{"x.stt"}));
    const CT_CliResult co_none =
        co_Run({"batch", "export", "--folder", "o", "cat/b/old", "--include", "*.txt"});
    EXPECT_EQ(co_none.i_Status, 1);
    EXPECT_FALSE(b_Exists("o"));

    std::filesystem::create_directories(s_Path("fr/cat/b"));
    v_CopyIn(s_Path("brochure.fr.stt"), "fr/cat/b/x.stt");
    auto co_Import = [&](const std::string& s_List) {
        return pco_Runner->co_RunProgram(
            "/bin/sh",
            {"-c", "printf '" + s_List + "' | \"$0\" batch import --folder fr --files-from -",
             STORYPORT_CLI});
    };
    const CT_CliResult co_climbing = co_Import("cat/b/x.idml\\n../x.idml\\n");
    EXPECT_EQ(co_climbing.i_Status, 1);
    EXPECT_NE(co_climbing.s_Err.find("error: standard input, line 2: ../x.idml climbs out"),
              std::string::npos);
    EXPECT_FALSE(b_Exists("cat/b/x.idml.bak"));
    const CT_CliResult co_imported = co_Import("./cat/b/x.idml\\r\\n\\n");
    EXPECT_EQ(co_imported.i_Status, 0) << co_imported.s_Err;
    ASSERT_EQ(co_Run({"export", "cat/b/x.idml", "back.stt"}).i_Status, 0);
    EXPECT_EQ(s_Read("back.stt"), s_Read("brochure.fr.stt"));
}
