// The settings file: the bytes written, the round trip, and what a hand-edited file loads.
#include "settings/ct_settings.h"

#include <gtest/gtest.h>

#include "platform/common/ct_errors.h"
#include "tests/platform/common/ct_temp_folder.h"

class CT_SettingsTest : public ::testing::Test {
  protected:
    // The settings as loaded from the bytes over preset values "in", "out", 1 and 9, as
    // "import|export|order|pasteboard".
    std::string s_LoadFrom(const std::string& s_Bytes) {
        co_Folder.v_Put("storyport.ini", s_Bytes);
        CT_Settings co_settings{CT_String(s_File.c_str())};
        CT_ProcessSettings& co_set = co_settings.co_GetProcessSettings();
        co_set.co_GetPathSettings().v_SetBatchImportPath("in");
        co_set.co_GetPathSettings().v_SetBatchExportPath("out");
        co_set.co_GetStoryListSettings().v_SetDefaultStoryOrder(e_LeftRight);
        co_set.co_GetStoryListSettings().v_SetIgnorePasteBoard(9);
        co_settings.v_Load();
        return s_Describe(co_set);
    }
    static std::string s_Describe(CT_ProcessSettings& co_Set) {
        return std::string(co_Set.co_GetPathSettings().co_GetBatchImportPath().sv()) + "|" +
               std::string(co_Set.co_GetPathSettings().co_GetBatchExportPath().sv()) + "|" +
               std::to_string(co_Set.co_GetStoryListSettings().eo_GetDefaultStoryOrder()) + "|" +
               std::to_string(co_Set.co_GetStoryListSettings().b_GetIgnorePasteBoard());
    }

    CT_TempFolder co_Folder;
    std::string s_File = (co_Folder / "storyport.ini");
};

TEST_F(CT_SettingsTest, MissingFileIsCreatedWithTheDefaultsAndSavedValuesLoadBack) {
    CT_Settings co_first{CT_String(s_File.c_str())};
    co_first.v_Load();
    EXPECT_EQ(co_Folder.co_Get("storyport.ini"),
              "IMPORT_FOLDER = \"\"\nEXPORT_FOLDER = \"\"\nSTORY_ORDER = \"0\"\n"
              "IGNORE_STORY_ON_PASTE_BOARD = \"0\"\n");
    EXPECT_EQ(s_Describe(co_first.co_GetProcessSettings()), "||0|0");

    CT_ProcessSettings& co_set = co_first.co_GetProcessSettings();
    co_set.co_GetPathSettings().v_SetBatchImportPath("C:\\Tagged In\\");
    co_set.co_GetPathSettings().v_SetBatchExportPath("/srv/a = b");
    co_set.co_GetStoryListSettings().v_SetDefaultStoryOrder(e_Custom);
    co_set.co_GetStoryListSettings().v_SetIgnorePasteBoard(-1);
    co_set.co_GetStoryFormatSettings().v_SetTaggedTextFormat(
        CT_StoryFormatSettings::e_QuarvelTaggedText);
    co_first.v_Save();
    EXPECT_EQ(co_Folder.co_Get("storyport.ini"),
              "IMPORT_FOLDER = \"C:\\Tagged In\\\"\nEXPORT_FOLDER = \"/srv/a = b\"\n"
              "STORY_ORDER = \"2\"\nIGNORE_STORY_ON_PASTE_BOARD = \"-1\"\n");
    CT_Settings co_second{CT_String(s_File.c_str())};
    co_second.v_Load();
    EXPECT_EQ(s_Describe(co_second.co_GetProcessSettings()), "C:\\Tagged In\\|/srv/a = b|2|-1");
    // The format is not kept in the file.
    EXPECT_EQ(
        co_second.co_GetProcessSettings().co_GetStoryFormatSettings().eo_GetTaggedTextFormat(),
        CT_StoryFormatSettings::e_DtpTaggedText);
}

TEST_F(CT_SettingsTest, HandEditedFilesLoadWhatTheForwardReaderFinds) {
    struct {
        const char* pc_Bytes;
        const char* pc_Loaded;
    } const aco_cases[] = {
        // Missing keys keep their values; the keys after them still load.
        {"# mine\nEXPORT_FOLDER = \"x\"\nIGNORE_STORY_ON_PASTE_BOARD = \"1\"\n", "in|x|1|1"},
        // Reading never goes back: a key before one already read is not found.
        {"STORY_ORDER = \"2\"\nEXPORT_FOLDER = \"x\"\nIMPORT_FOLDER = \"y\"\n", "y|out|1|9"},
        // " = " is searched across lines: the squeezed key takes the next line's value.
        {"IMPORT_FOLDER=\"a\"\nEXPORT_FOLDER = \"b\"\nSTORY_ORDER = \"2\"\n", "b|out|2|9"},
        // A value ends at a double quote; an unterminated one is not read.
        {"IMPORT_FOLDER = \"a\"b\"\nEXPORT_FOLDER = \"never closed\n", "a|out|1|9"},
        {"STORY_ORDER = \"abc\"\nIGNORE_STORY_ON_PASTE_BOARD = \" +7x\"", "in|out|0|7"},
        {"STORY_ORDER = \"-3\"\nIGNORE_STORY_ON_PASTE_BOARD = \"99999999999\"",
         "in|out|-3|2147483647"},
    };
    for (const auto& co_case : aco_cases) {
        EXPECT_EQ(s_LoadFrom(co_case.pc_Bytes), co_case.pc_Loaded) << co_case.pc_Bytes;
        EXPECT_EQ(CT_Errors::set_GetLastError(), e_NoError);
    }
}
