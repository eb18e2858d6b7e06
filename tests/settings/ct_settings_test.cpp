// The settings file: the exact bytes written, the round trip, and how hand-edited files load.
#include "settings/ct_settings.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/common/ct_errors.h"
#include "tests/settings/ct_temp_folder.h"

namespace {
const char* const kpc_DefaultFile =
    "IMPORT_FOLDER = \"\"\n"
    "EXPORT_FOLDER = \"\"\n"
    "STORY_ORDER = \"0\"\n"
    "IGNORE_STORY_ON_PASTE_BOARD = \"0\"\n";

class CT_SettingsFileTest : public ::testing::Test {
  protected:
    // Loads the bytes as a settings file into settings preset with recognisable values.
    CT_ProcessSettings co_LoadFrom(const std::string& s_Bytes) {
        CT_TempFolder::v_Write(s_File, s_Bytes);
        CT_Settings co_settings{CT_String(s_File.c_str())};
        CT_ProcessSettings& co_preset = co_settings.co_GetProcessSettings();
        co_preset.co_GetPathSettings().v_SetBatchImportPath("old-in");
        co_preset.co_GetPathSettings().v_SetBatchExportPath("old-out");
        co_preset.co_GetStoryListSettings().v_SetDefaultStoryOrder(e_LeftRight);
        co_preset.co_GetStoryListSettings().v_SetIgnorePasteBoard(9);
        co_settings.v_Load();
        return co_settings.co_GetProcessSettings();
    }

    CT_TempFolder co_Folder;
    std::string s_File = co_Folder.s_File("storyport.ini");
};

std::string s_Import(CT_ProcessSettings& co_Settings) {
    return std::string(co_Settings.co_GetPathSettings().co_GetBatchImportPath().sv());
}
std::string s_Export(CT_ProcessSettings& co_Settings) {
    return std::string(co_Settings.co_GetPathSettings().co_GetBatchExportPath().sv());
}
int i_Order(CT_ProcessSettings& co_Settings) {
    return co_Settings.co_GetStoryListSettings().eo_GetDefaultStoryOrder();
}
int i_Ignore(CT_ProcessSettings& co_Settings) {
    return co_Settings.co_GetStoryListSettings().b_GetIgnorePasteBoard();
}
}  // namespace

TEST_F(CT_SettingsFileTest, MissingFileIsCreatedWithTheDefaults) {
    CT_Settings co_settings{CT_String(s_File.c_str())};
    co_settings.v_Load();
    EXPECT_EQ(CT_TempFolder::s_Read(s_File), kpc_DefaultFile);
    EXPECT_EQ(i_Order(co_settings.co_GetProcessSettings()), e_TopDown);
}

TEST_F(CT_SettingsFileTest, SavedValuesLoadBackExactly) {
    CT_Settings co_saved{CT_String(s_File.c_str())};
    CT_ProcessSettings& co_values = co_saved.co_GetProcessSettings();
    co_values.co_GetPathSettings().v_SetBatchImportPath("C:\\Tagged In\\");
    co_values.co_GetPathSettings().v_SetBatchExportPath("/srv/out = here");
    co_values.co_GetStoryListSettings().v_SetDefaultStoryOrder(e_Custom);
    co_values.co_GetStoryListSettings().v_SetIgnorePasteBoard(5);
    co_values.co_GetStoryFormatSettings().v_SetTaggedTextFormat(
        CT_StoryFormatSettings::e_QuarvelTaggedText);
    co_saved.v_Save();
    EXPECT_EQ(CT_TempFolder::s_Read(s_File),
              "IMPORT_FOLDER = \"C:\\Tagged In\\\"\n"
              "EXPORT_FOLDER = \"/srv/out = here\"\n"
              "STORY_ORDER = \"2\"\n"
              "IGNORE_STORY_ON_PASTE_BOARD = \"5\"\n");

    CT_Settings co_loaded{CT_String(s_File.c_str())};
    co_loaded.v_Load();
    CT_ProcessSettings& co_read = co_loaded.co_GetProcessSettings();
    EXPECT_EQ(s_Import(co_read), "C:\\Tagged In\\");
    EXPECT_EQ(s_Export(co_read), "/srv/out = here");
    EXPECT_EQ(i_Order(co_read), e_Custom);
    EXPECT_EQ(i_Ignore(co_read), 5);
    // The format is not kept in the file.
    EXPECT_EQ(co_read.co_GetStoryFormatSettings().eo_GetTaggedTextFormat(),
              CT_StoryFormatSettings::e_DtpTaggedText);
}

TEST_F(CT_SettingsFileTest, NumbersAreWrittenAsSigned32BitValues) {
    CT_Settings co_settings{CT_String(s_File.c_str())};
    co_settings.co_GetProcessSettings().co_GetStoryListSettings().v_SetIgnorePasteBoard(-1);
    co_settings.co_GetProcessSettings().co_GetStoryListSettings().v_SetDefaultStoryOrder(
        static_cast<et_StoryOrder>(-2147483647 - 1));
    co_settings.v_Save();
    EXPECT_EQ(CT_TempFolder::s_Read(s_File),
              "IMPORT_FOLDER = \"\"\n"
              "EXPORT_FOLDER = \"\"\n"
              "STORY_ORDER = \"-2147483648\"\n"
              "IGNORE_STORY_ON_PASTE_BOARD = \"-1\"\n");
}

TEST_F(CT_SettingsFileTest, HandEditedFilesLoadWhatStandsInReadingOrder) {
    // Keys missing: the others still load, the missing ones keep their values.
    CT_ProcessSettings co_missing = co_LoadFrom(
        "# my settings\nEXPORT_FOLDER = \"out\"\nIGNORE_STORY_ON_PASTE_BOARD = \"1\"\n");
    EXPECT_EQ(s_Import(co_missing), "old-in");
    EXPECT_EQ(s_Export(co_missing), "out");
    EXPECT_EQ(i_Order(co_missing), e_LeftRight);
    EXPECT_EQ(i_Ignore(co_missing), 1);

    // Reading only moves forward: a key before one already read is not found.
    CT_ProcessSettings co_reordered = co_LoadFrom(
        "STORY_ORDER = \"2\"\nEXPORT_FOLDER = \"out\"\nIMPORT_FOLDER = \"in\"\n"
        "IGNORE_STORY_ON_PASTE_BOARD = \"3\"\n");
    EXPECT_EQ(s_Import(co_reordered), "in");
    EXPECT_EQ(s_Export(co_reordered), "old-out");
    EXPECT_EQ(i_Order(co_reordered), e_LeftRight);
    EXPECT_EQ(i_Ignore(co_reordered), 3);

    // " = " is searched across lines: a key without blanks takes the next line's value.
    CT_ProcessSettings co_squeezed =
        co_LoadFrom("IMPORT_FOLDER=\"a\"\nEXPORT_FOLDER = \"b\"\nSTORY_ORDER = \"2\"\n");
    EXPECT_EQ(s_Import(co_squeezed), "b");
    EXPECT_EQ(s_Export(co_squeezed), "old-out");
    EXPECT_EQ(i_Order(co_squeezed), e_Custom);

    // A value is cut at a double quote; an unterminated value is not read.
    CT_ProcessSettings co_quoted =
        co_LoadFrom("IMPORT_FOLDER = \"a\"b\"\nEXPORT_FOLDER = \"never closed\n");
    EXPECT_EQ(s_Import(co_quoted), "a");
    EXPECT_EQ(s_Export(co_quoted), "old-out");
    EXPECT_EQ(CT_Errors::set_GetLastError(), e_NoError);
}

TEST_F(CT_SettingsFileTest, JunkNumbersConvertLikeSignedDecimals) {
    struct {
        const char* pc_Text;
        int i_Order;
    } const aco_cases[] = {
        {"abc", 0}, {"2", 2}, {"  +1x", 1}, {"-3", -3}, {"", 0}, {"99999999999", 2147483647},
    };
    for (const auto& co_case : aco_cases) {
        CT_ProcessSettings co_read =
            co_LoadFrom(std::string("STORY_ORDER = \"") + co_case.pc_Text + "\"\n");
        EXPECT_EQ(i_Order(co_read), co_case.i_Order) << co_case.pc_Text;
    }
}

TEST_F(CT_SettingsFileTest, SaveIntoAMissingFolderRaisesNamingThePath) {
    const std::string s_bad = co_Folder.s_File("no/such/folder/storyport.ini");
    CT_Settings co_settings{CT_String(s_bad.c_str())};
    try {
        co_settings.v_Save();
        FAIL() << "no error";
    } catch (et_ErrorCode eo_code) {
        EXPECT_EQ(eo_code, e_FileOpen);
        EXPECT_NE(std::string(CT_Errors::cco_GetLastError().sv()).find(s_bad), std::string::npos);
    }
}
