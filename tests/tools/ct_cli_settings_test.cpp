// The settings file from the command line: where it lives, what it holds, and that the
// operations follow it.
#include "tests/tools/ct_cli_fixture.h"

// Only set makes the file: the commands that read settings use the defaults while it is missing.
TEST_F(CT_CliTest, SettingsAreMadeOnlyBySet) {
    const CT_CliResult co_result = co_Run({"settings"});
    EXPECT_EQ(co_result.i_Status, 0);
    EXPECT_EQ(co_result.s_Out,
              "# " + s_Path("config/storyport/settings") +
                  "\nIMPORT_FOLDER = \"\"\nEXPORT_FOLDER = \"\"\n"
                  "STORY_ORDER = \"top-down\"\nIGNORE_STORY_ON_PASTE_BOARD = \"no\"\n");
    EXPECT_EQ(co_Run({"list", "brochure.idml"}).i_Status, 0);
    EXPECT_EQ(co_Run({"export", "brochure.idml", "b.stt"}).i_Status, 0);
    EXPECT_FALSE(b_Exists("config/storyport"));
    ASSERT_EQ(co_Run({"settings", "set", "story-order", "top-down"}).i_Status, 0);
    EXPECT_EQ(s_Read("config/storyport/settings"),
              "IMPORT_FOLDER = \"\"\nEXPORT_FOLDER = \"\"\nSTORY_ORDER = \"0\"\n"
              "IGNORE_STORY_ON_PASTE_BOARD = \"0\"\n");
}

TEST_F(CT_CliTest, WrongSettingsAreRefusedAndLeaveTheFile) {
    ASSERT_EQ(co_Run({"settings", "set", "story-order", "top-down"}).i_Status, 0);
    const std::string s_before = s_Read("config/storyport/settings");
    EXPECT_EQ(co_Run({"settings", "set", "colour", "blue"}).i_Status, 2);
    const CT_CliResult co_refused = co_Run({"settings", "set", "story-order", "diagonal"});
    EXPECT_EQ(co_refused.i_Status, 2);
    EXPECT_EQ(sco_Lines(co_refused.s_Err).at(0),
              "storyport: STORY_ORDER cannot be \"diagonal\"; it takes top-down, left-right or "
              "custom");
    EXPECT_EQ(co_Run({"settings", "set", "export-folder", "a\"b"}).i_Status, 2);
    EXPECT_EQ(s_Read("config/storyport/settings"), s_before);
    const CT_CliResult co_result =
        co_Run({"settings", "set", "--settings", s_Path("no/such/folder/settings"), "story-order",
                "custom"});
    EXPECT_EQ(co_result.i_Status, 1);
    EXPECT_EQ(sco_ErrorLines(co_result.s_Err).size(), 1u) << co_result.s_Err;
}

// Set settings are saved and followed, and what show prints is what set takes and what a
// settings file may hold: every line fed back to set is accepted and changes nothing, and a
// file of those lines is read as the settings they show.
TEST_F(CT_CliTest, SetSettingsAreSavedFollowedAndShownAsSetTakesThem) {
    ASSERT_EQ(co_Run({"settings", "set", "story-order", "left-right"}).i_Status, 0);
    ASSERT_EQ(co_Run({"settings", "set", "IGNORE_STORY_ON_PASTE_BOARD", "yes"}).i_Status, 0);
    ASSERT_EQ(co_Run({"settings", "set", "import-folder", "fr"}).i_Status, 0);
    const std::string s_before = s_Read("config/storyport/settings");
    EXPECT_EQ(s_before, "IMPORT_FOLDER = \"" + s_Path("fr") +
                            "\"\nEXPORT_FOLDER = \"\"\nSTORY_ORDER = \"1\"\n"
                            "IGNORE_STORY_ON_PASTE_BOARD = \"1\"\n");
    EXPECT_EQ(co_Run({"list", "brochure.idml", "--keys"}).s_Out,
              "u1c2\nu1d6\nu1e4\nu1f3\nu205\nu21a\n");
    EXPECT_EQ(co_Run({"list", "brochure.idml", "--keys", "--order", "top-down"}).s_Out,
              "u1c2\nu1d6\nu1f3\nu1e4\nu205\nu21a\n");
    const std::vector<std::string> co_shown = sco_Lines(co_Run({"settings", "show"}).s_Out);
    ASSERT_EQ(co_shown.size(), 5u);
    for (std::size_t n_line = 1; n_line < co_shown.size(); ++n_line) {
        const std::string& s_line = co_shown[n_line];
        const std::size_t n_equals = s_line.find(" = \"");
        ASSERT_NE(n_equals, std::string::npos) << s_line;
        const std::string s_key = s_line.substr(0, n_equals);
        const std::string s_value = s_line.substr(n_equals + 4, s_line.size() - n_equals - 5);
        EXPECT_EQ(co_Run({"settings", "set", s_key, s_value}).i_Status, 0) << s_line;
    }
    EXPECT_EQ(s_Read("config/storyport/settings"), s_before);
    std::string s_words;
    for (std::size_t n_line = 1; n_line < co_shown.size(); ++n_line) {
        s_words += co_shown[n_line] + "\n";
    }
    v_Write("words.settings", s_words);
    const CT_CliResult co_list =
        co_Run({"--settings", "words.settings", "list", "brochure.idml", "--keys"});
    EXPECT_EQ(co_list.s_Err.find("Warning"), std::string::npos) << co_list.s_Err;
    EXPECT_EQ(co_list.s_Out, "u1c2\nu1d6\nu1e4\nu1f3\nu205\nu21a\n");
    EXPECT_EQ(co_Run({"--settings", "words.settings", "settings", "show"}).s_Out,
              "# words.settings\n" + s_words);
    EXPECT_EQ(s_Read("words.settings"), s_words);
}

// A settings file edited by hand: each line its reader would skip or misread is named with
// what becomes of it, the command still runs, and set refuses to write over such a file.
TEST_F(CT_CliTest, SettingsLinesThatAreNotReadAsTheyStandAreNamed) {
    const std::string s_order =
        "the settings are read in the order IMPORT_FOLDER, EXPORT_FOLDER, "
        "STORY_ORDER and IGNORE_STORY_ON_PASTE_BOARD, each once and after "
        "the one before";
    const std::pair<std::string, std::string> aco_cases[] = {
        {"STORY_ORDER = \"7\"\n",
         "1: STORY_ORDER cannot be \"7\"; it is top-down, left-right or custom: top-down is "
         "used"},
        {"IGNORE_STORY_ON_PASTE_BOARD = \"maybe\"\n",
         "1: IGNORE_STORY_ON_PASTE_BOARD cannot be \"maybe\"; it is yes or no: it is read as "
         "no"},
        {"STORY_ORDER = \"1\"\nIMPORT_FOLDER = \"in\"\n", "1: STORY_ORDER is not read: " + s_order},
        {"\nEXPORT_FOLDER = \"a\"\nEXPORT_FOLDER = \"b\"\n",
         "3: EXPORT_FOLDER is not read: " + s_order},
        {"COLOUR = \"blue\"\n",
         "1: \"COLOUR\" is not a setting; the settings are IMPORT_FOLDER, EXPORT_FOLDER, "
         "STORY_ORDER and IGNORE_STORY_ON_PASTE_BOARD"},
        {"EXPORT_FOLDER= \"out\"\nSTORY_ORDER = \"1\"\n",
         "1: not a setting: each line is KEY = \"VALUE\"; the settings around it may be "
         "misread"},
        // A megabyte-long line that never closes its value is one more line to name.
        {"EXPORT_FOLDER = \"" + std::string(1 << 20, 'x') + "\n",
         "1: not a setting: each line is KEY = \"VALUE\"; the settings around it may be "
         "misread"},
    };
    v_Write("empty.settings", "");
    const std::string s_topDown =
        co_Run({"--settings", "empty.settings", "list", "brochure.idml", "--keys"}).s_Out;
    for (const auto& [s_file, s_warning] : aco_cases) {
        SCOPED_TRACE(s_file);
        v_Write("mine.settings", s_file);
        const CT_CliResult co_list =
            co_Run({"--settings", "mine.settings", "list", "brochure.idml", "--keys"});
        EXPECT_EQ(co_list.i_Status, 0);
        EXPECT_EQ(sco_Lines(co_list.s_Err).at(0), "Warning: mine.settings:" + s_warning);
        const CT_CliResult co_set =
            co_Run({"--settings", "mine.settings", "settings", "set", "story-order", "custom"});
        EXPECT_EQ(co_set.i_Status, 1);
        EXPECT_EQ(sco_ErrorLines(co_set.s_Err),
                  (std::vector<std::string>{
                      "storyport: error: mine.settings holds lines that are not read as they "
                      "stand (see above): correct them first; nothing was changed"}));
        EXPECT_EQ(s_Read("mine.settings"), s_file);
    }
    v_Write("mine.settings", "STORY_ORDER = \"7\"\n");
    EXPECT_EQ(co_Run({"--settings", "mine.settings", "list", "brochure.idml", "--keys"}).s_Out,
              s_topDown);
    // What set writes, with CR LF line ends as well, reads without a word; the chosen file is
    // followed instead of the default, which is never made.
    v_Write("mine.settings", "STORY_ORDER = \"1\"\r\n");
    EXPECT_EQ(co_Run({"--settings", "mine.settings", "list", "brochure.idml", "--keys"}).s_Out,
              "u1c2\nu22c\nu1d6\nu1e4\nu1f3\nu205\nu21a\n");
    const CT_CliResult co_clean =
        co_Run({"--settings", "mine.settings", "settings", "set", "story-order", "custom"});
    EXPECT_EQ(co_clean.i_Status, 0);
    EXPECT_EQ(co_clean.s_Err, "");
    EXPECT_EQ(co_Run({"--settings", "mine.settings", "settings", "show"}).s_Err, "");
    EXPECT_FALSE(b_Exists("config/storyport"));
    // A named file that is not there is said, and still not made, by a reading command.
    const CT_CliResult co_typo =
        co_Run({"--settings", "mine.setings", "list", "brochure.idml", "--keys"});
    EXPECT_EQ(co_typo.s_Out, s_topDown);
    EXPECT_EQ(sco_Lines(co_typo.s_Err).at(0),
              "Warning: the settings file mine.setings is not there: the default settings are "
              "used");
    EXPECT_FALSE(b_Exists("mine.setings"));
}
