#include "tools/ct_settings_command.h"

#include <filesystem>
#include <iostream>
#include <string>

#include "operations/ct_setting_words.h"
#include "settings/ct_settings.h"
#include "tools/ct_tool_session.h"

namespace {
const char* const gpc_ImportFolder = "IMPORT_FOLDER";
const char* const gpc_ExportFolder = "EXPORT_FOLDER";
const char* const gpc_StoryOrder = "STORY_ORDER";
const char* const gpc_IgnorePasteBoard = "IGNORE_STORY_ON_PASTE_BOARD";

void v_PrintLine(const char* pc_Key, const std::string& s_Value) {
    std::cout << pc_Key << " = \"" << s_Value << "\"\n";
}

void v_PrintAll(CT_ProcessSettings& co_Settings) {
    CT_PathSettings& co_paths = co_Settings.co_GetPathSettings();
    CT_StoryListSettings& co_list = co_Settings.co_GetStoryListSettings();
    v_PrintLine(gpc_ImportFolder, std::string(co_paths.co_GetBatchImportPath().sv()));
    v_PrintLine(gpc_ExportFolder, std::string(co_paths.co_GetBatchExportPath().sv()));
    v_PrintLine(gpc_StoryOrder,
                CT_SettingWords::ss_Word(gpc_StoryOrder, co_list.eo_GetDefaultStoryOrder()));
    v_PrintLine(gpc_IgnorePasteBoard,
                CT_SettingWords::ss_Word(gpc_IgnorePasteBoard, co_list.b_GetIgnorePasteBoard()));
}

// A folder is kept absolute, so that a batch finds it from any working folder. The file has no
// way to hold a double quote in a value.
bool b_FolderValue(const std::string& s_Value, CT_String& co_Folder) {
    if (s_Value.find('"') != std::string::npos) {
        return false;
    }
    co_Folder = s_Value.empty()
                    ? ""
                    : std::filesystem::absolute(s_Value).lexically_normal().string().c_str();
    return true;
}

bool b_Apply(CT_ProcessSettings& co_Settings, const std::string& s_Key,
             const std::string& s_Value) {
    CT_PathSettings& co_paths = co_Settings.co_GetPathSettings();
    CT_StoryListSettings& co_list = co_Settings.co_GetStoryListSettings();
    CT_String co_folder;
    if (!CT_SettingWords::sb_IsNumber(s_Key)) {
        if (!b_FolderValue(s_Value, co_folder)) {
            return false;
        }
        s_Key == gpc_ImportFolder ? co_paths.v_SetBatchImportPath(co_folder)
                                  : co_paths.v_SetBatchExportPath(co_folder);
        return true;
    }
    const int i_value = CT_SettingWords::si_Number(s_Key, s_Value);
    if (i_value < 0) {
        return false;
    }
    s_Key == gpc_StoryOrder ? co_list.v_SetDefaultStoryOrder(static_cast<et_StoryOrder>(i_value))
                            : co_list.v_SetIgnorePasteBoard(i_value != 0 ? 1 : 0);
    return true;
}
}  // namespace

et_ExitStatus CT_SettingsCommand::seo_RunShow(CT_ToolSession& co_Session) {
    CT_Settings& co_settings = co_Session.co_LoadSettings();
    std::cout << "# " << co_Session.s_GetSettingsPath() << "\n";
    v_PrintAll(co_settings.co_GetProcessSettings());
    std::cout.flush();
    return e_ExitOk;
}

et_ExitStatus CT_SettingsCommand::seo_RunSet(CT_ToolSession& co_Session) {
    const CT_CommandOptions& co_options = co_Session.co_GetOptions();
    const std::string s_key = CT_SettingWords::ss_Key(co_options.s_SettingsKey);
    if (s_key.empty()) {
        co_Session.v_LogLine("storyport: unknown setting \"" + co_options.s_SettingsKey +
                             "\"; the settings are IMPORT_FOLDER, EXPORT_FOLDER, STORY_ORDER "
                             "and IGNORE_STORY_ON_PASTE_BOARD");
        return e_ExitUsage;
    }
    CT_Settings& co_settings = co_Session.co_LoadSettings();
    // Saving would drop the lines the reader skipped, which the user may still want.
    if (co_Session.b_AreSettingsMisread()) {
        co_Session.v_LogError(CT_String(
            (co_Session.s_GetSettingsPath() +
             " holds lines that are not read as they stand (see above): correct them first; "
             "nothing was changed")
                .c_str()));
        return e_ExitError;
    }
    if (!b_Apply(co_settings.co_GetProcessSettings(), s_key, co_options.s_SettingsValue)) {
        co_Session.v_LogLine("storyport: " + s_key + " cannot be \"" + co_options.s_SettingsValue +
                             "\"; it takes " + CT_SettingWords::ss_Accepted(s_key));
        return e_ExitUsage;
    }
    co_settings.v_Save();
    return seo_RunShow(co_Session);
}
