// What reaches the translator from a document with a hidden layer and a hidden frame: the
// stories left out by default, the options that change it, what list shows of them, and an
// import that finds every story of a file whatever the choice it was exported with.
#include <string>
#include <vector>

#include "tests/tools/ct_cli_fixture.h"

namespace {
bool b_Has(const std::vector<std::string>& co_Keys, const std::string& s_Key) {
    return std::find(co_Keys.begin(), co_Keys.end(), s_Key) != co_Keys.end();
}
}  // namespace

TEST_F(CT_CliTest, HiddenStoriesStayBehindUnlessAskedAndImportFindsThemAnyway) {
    v_CopyIn(ss_ThirdParty("frames-mixed.idml"), "frames.idml");
    const CT_CliResult co_default = co_Run({"export", "frames.idml", "default.stt"});
    ASSERT_EQ(co_default.i_Status, 0) << co_default.s_Err;
    EXPECT_EQ(sco_Lines(co_default.s_Err).front(),
              "3 stories are left out: 2 on hidden layer \"Layer 2\", 1 in a hidden frame. "
              "'list --all' shows them.");
    const std::vector<std::string> co_shown = sco_TaggedKeys(s_Read("default.stt"));
    EXPECT_EQ(co_shown.size(), 25u);
    for (const char* pc_key : {"u280", "u31b", "u29f"}) {
        EXPECT_FALSE(b_Has(co_shown, pc_key)) << pc_key;
    }
    ASSERT_EQ(co_Run({"export", "frames.idml", "all.stt", "--layers", "all"}).i_Status, 0);
    EXPECT_EQ(sco_TaggedKeys(s_Read("all.stt")).size(), 28u);
    const CT_CliResult co_layer2 =
        co_Run({"export", "frames.idml", "layer2.stt", "--layer", "Layer 2"});
    ASSERT_EQ(co_layer2.i_Status, 0);
    EXPECT_EQ(sco_Lines(co_layer2.s_Err).front(),
              "26 stories are left out: 26 on layer \"Layer 1\", not chosen. 'list --all' shows "
              "them.");
    EXPECT_EQ(sco_TaggedKeys(s_Read("layer2.stt")), (std::vector<std::string>{"u280", "u31b"}));

    // Each file checks clean and imports without a warning, whatever it was exported with.
    for (const char* pc_file : {"default.stt", "all.stt"}) {
        EXPECT_EQ(co_Run({"check", "frames.idml", pc_file}).i_Status, 0) << pc_file;
    }
    std::string s_text = s_Read("all.stt");
    const std::string s_hidden = "Layer 2. <x1/>Text 1.";
    s_text.replace(s_text.find(s_hidden), s_hidden.size(), "Calque 2. <x1/>Texte 1.");
    v_Write("all.stt", s_text);
    const CT_CliResult co_import = co_Run({"import", "frames.idml", "all.stt", "--no-backup"});
    EXPECT_EQ(co_import.i_Status, 0);
    EXPECT_EQ(co_import.s_Err, "Importing frames.idml...\n28 stories have been imported.\n\n");
    ASSERT_EQ(co_Run({"export", "frames.idml", "again.stt", "--layer", "Layer 2"}).i_Status, 0);
    EXPECT_NE(s_Read("again.stt").find("Calque 2. <x1/>Texte 1."), std::string::npos);
    EXPECT_EQ(co_Run({"import", "frames.idml", "default.stt", "--no-backup"}).s_Err,
              "Importing frames.idml...\n25 stories have been imported.\n\n");
}

TEST_F(CT_CliTest, ListShowsLayersAndMarksWhatIsLeftOut) {
    v_CopyIn(ss_ThirdParty("frames-mixed.idml"), "frames.idml");
    const CT_CliResult co_all = co_Run({"list", "frames.idml", "--all"});
    ASSERT_EQ(co_all.i_Status, 0);
    const std::vector<std::string> co_lines = sco_Lines(co_all.s_Out);
    EXPECT_EQ(co_lines.front(), "frames.idml: 25 stories (and 3 left out), top-down order");
    EXPECT_NE(
        std::find(co_lines.begin(), co_lines.end(),
                  "  Story 3: Layer 2. Text 1.           u280      at 242, -361          4 words  "
                  "     13 chars  layer \"Layer 2\"  [left out: on hidden layer \"Layer 2\"]"),
        co_lines.end());
    const std::string s_json = co_Run({"list", "frames.idml", "--json"}).s_Out;
    EXPECT_NE(s_json.find("\"key\": \"u29f\", \"label\": \"Story 21: A header for the 2nd...\", "
                          "\"preview\": \"A header for the 2nd...\", \"page\": 2, \"group\": "
                          "\"Page 2\", \"x\": -446, \"y\": -369, \"layer\": \"Layer 1\", "
                          "\"export\": false, \"left_out\": \"in a hidden frame\", \"words\": 6"),
              std::string::npos);
    EXPECT_EQ(co_Run({"list", "frames.idml", "--keys", "--layer", "Layer 2"}).s_Out,
              "u280\nu31b\n");
    // The map greys the frames left out, with the same reason, and places them from the corner
    // of their page, not of the spread the list measures from.
    ASSERT_EQ(co_Run({"map", "frames.idml", "map.svg"}).i_Status, 0);
    EXPECT_NE(s_Read("map.svg").find("<g class=\"frame left-out\" data-key=\"u29f\" "
                                     "data-order=\"0\" data-thread=\"1\" data-label=\"\" "
                                     "data-preview=\"\" data-left-out=\"in a hidden frame\" "
                                     "data-place=\"x 148.8 pt, y 52.4 pt on page 2\">"),
              std::string::npos);
}

// Skipped notes are one code each (kept, the story samples show their own codes), and the file
// imports back without changing a byte of the document.
TEST_F(CT_CliTest, NotesSkipped) {
    v_CopyIn(ss_ThirdParty("notes-mixed.idml"), "notes.idml");
    ASSERT_EQ(co_Run({"export", "notes.idml", "skipped.stt", "--notes", "skip"}).i_Status, 0);
    EXPECT_NE(
        s_Read("skipped.stt").find("<STORY NAME=\"ufd\" LOCATION=\"P1\"><x1/><x2/>\n</STORY>"),
        std::string::npos);
    const std::string s_before = s_Read("notes.idml");
    ASSERT_EQ(co_Run({"import", "notes.idml", "skipped.stt", "--no-backup"}).i_Status, 0);
    EXPECT_EQ(s_Read("notes.idml"), s_before);
}

// A batch import of XLIFF files finds every story a file names, as one of tagged files does:
// stories on a hidden layer, exported with --layers all, are imported with the default choice,
// in one process and in workers.
TEST_F(CT_CliTest, BatchXliffImportFindsStoriesLeftOutByTheLayerChoice) {
    v_CopyIn(ss_ThirdParty("frames-mixed.idml"), "a.idml");
    v_CopyIn(ss_ThirdParty("frames-mixed.idml"), "b.idml");
    ASSERT_EQ(co_Run({"batch", "export", "--folder", "out", "--format", "xliff", "--target-lang",
                      "fr", "--layers", "all", "a.idml", "b.idml"})
                  .i_Status,
              0);
    for (const char* pc_name : {"a", "b"}) {
        const std::string s_file = std::string("out/") + pc_name + ".xlf";
        std::string s_xliff = s_Read(s_file);
        const std::string s_source = "<source>Layer 2. ";
        const std::size_t n_target = s_xliff.find("<target", s_xliff.find(s_source));
        s_xliff.replace(n_target, s_xliff.find("</target>", n_target) + 9 - n_target,
                        "<target>Calque 2. <x id=\"1\"/>Texte 1.</target>");
        v_Write(s_file, s_xliff);
    }
    for (const char* pc_jobs : {"1", "2"}) {
        const CT_CliResult co_batch = co_Run({"batch", "import", "--folder", "out", "--format",
                                              "xliff", "--jobs", pc_jobs, "a.idml", "b.idml"});
        EXPECT_EQ(co_batch.i_Status, 0) << co_batch.s_Err;
        EXPECT_NE(co_batch.s_Err.find("28 stories have been imported."), std::string::npos)
            << co_batch.s_Err;
    }
    ASSERT_EQ(co_Run({"export", "a.idml", "again.stt", "--layer", "Layer 2"}).i_Status, 0);
    EXPECT_NE(s_Read("again.stt").find("Calque 2. <x1/>Texte 1."), std::string::npos);
}

// A layer asked for by name that a document lacks is an error naming both, and that document
// is left alone; a batch goes on with the others, in workers as in one process, and gives each
// of them the layer choice.
TEST_F(CT_CliTest, ALayerTheDocumentLacksIsAnErrorNamingIt) {
    v_CopyIn(ss_ThirdParty("frames-mixed.idml"), "frames.idml");
    const std::string s_error = "\"" + s_Path("frames.idml") +
                                "\" has no layer named \"Layer 3\"; its layers are \"Layer 1\", "
                                "\"Layer 2\"";
    const auto co_before = co_Snapshot();
    for (const std::vector<std::string>& co_args :
         {std::vector<std::string>{"export", "frames.idml", "out.stt", "--layer", "Layer 3"},
          {"list", "frames.idml", "--layer", "Layer 3"},
          {"import", "frames.idml", "brochure.fr.stt", "--layer", "Layer 3"}}) {
        SCOPED_TRACE(co_args[0]);
        const CT_CliResult co_result = co_Run(co_args);
        EXPECT_EQ(co_result.i_Status, 1);
        EXPECT_EQ(sco_ErrorLines(co_result.s_Err),
                  (std::vector<std::string>{"storyport: error: " + s_error}));
        EXPECT_TRUE(co_Snapshot() == co_before);
    }

    std::vector<std::string> co_logs;
    for (const char* pc_jobs : {"1", "2"}) {
        SCOPED_TRACE(pc_jobs);
        const std::string s_folder = std::string("out") + pc_jobs;
        CT_CliResult co_result = co_Run({"batch", "export", "--folder", s_folder, "--jobs", pc_jobs,
                                         "--layer", "Layer 2", "frames.idml", "brochure.idml"});
        EXPECT_EQ(co_result.i_Status, 1);
        EXPECT_EQ(sco_ErrorLines(co_result.s_Err),
                  (std::vector<std::string>{"Error: \"" + s_Path("brochure.idml") +
                                            "\" has no layer named \"Layer 2\"; its layers are "
                                            "\"Layer 1\""}));
        EXPECT_EQ(co_Listing(s_folder), (std::vector<std::string>{"frames.stt"}));
        EXPECT_EQ(sco_TaggedKeys(s_Read(s_folder + "/frames.stt")),
                  (std::vector<std::string>{"u280", "u31b"}));
        co_logs.push_back(co_result.s_Err.erase(0, co_result.s_Err.find('\n')));  // the time
    }
    EXPECT_EQ(co_logs[1], co_logs[0]);
}
