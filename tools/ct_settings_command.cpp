#include "tools/ct_settings_command.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iostream>
#include <string>

#include "settings/ct_settings.h"
#include "tools/ct_tool_session.h"

namespace {
const char* const gpc_ImportFolder = "IMPORT_FOLDER";
const char* const gpc_ExportFolder = "EXPORT_FOLDER";
const char* const gpc_StoryOrder = "STORY_ORDER";
const char* const gpc_IgnorePasteBoard = "IGNORE_STORY_ON_PASTE_BOARD";
// The file keeps the order kind as its number; people read and type these words.
const char* const gapc_OrderWords[] = {"top-down", "left-right", "custom"};

std::string s_Normalised(std::string s_Text) {
    for (char& c_char : s_Text) {
        c_char = c_char == '-'
                     ? '_'
                     : static_cast<char>(std::toupper(static_cast<unsigned char>(c_char)));
    }
    return s_Text == "IGNORE_PASTEBOARD" ? gpc_IgnorePasteBoard : s_Text;
}

void v_PrintLine(const char* pc_Key, const std::string& s_Value) {
    std::cout << pc_Key << " = \"" << s_Value << "\"\n";
}

void v_PrintAll(CT_ProcessSettings& co_Settings) {
    CT_PathSettings& co_paths = co_Settings.co_GetPathSettings();
    CT_StoryListSettings& co_list = co_Settings.co_GetStoryListSettings();
    v_PrintLine(gpc_ImportFolder, std::string(co_paths.co_GetBatchImportPath().sv()));
    v_PrintLine(gpc_ExportFolder, std::string(co_paths.co_GetBatchExportPath().sv()));
    const int i_order = co_list.eo_GetDefaultStoryOrder();
    v_PrintLine(gpc_StoryOrder, i_order >= e_TopDown && i_order <= e_Custom
                                    ? gapc_OrderWords[i_order]
                                    : std::to_string(i_order));
    v_PrintLine(gpc_IgnorePasteBoard, co_list.b_GetIgnorePasteBoard() ? "yes" : "no");
}

// What a key takes, in the words that show prints, for a refused value.
std::string s_Accepted(const std::string& s_Key) {
    if (s_Key == gpc_StoryOrder) {
        return std::string(gapc_OrderWords[e_TopDown]) + ", " + gapc_OrderWords[e_LeftRight] +
               " or " + gapc_OrderWords[e_Custom];
    }
    return s_Key == gpc_IgnorePasteBoard ? "yes or no" : "a folder (without double quotes)";
}

// The order kind for a value, or -1.
int i_OrderValue(const std::string& s_Value) {
    const std::string s_value = s_Normalised(s_Value);
    if (s_value == "TOP_DOWN" || s_value == "0") {
        return e_TopDown;
    }
    if (s_value == "LEFT_RIGHT" || s_value == "1") {
        return e_LeftRight;
    }
    return s_value == "CUSTOM" || s_value == "2" ? e_Custom : -1;
}

// 1 or 0 for a yes or a no, or -1.
int i_FlagValue(const std::string& s_Value) {
    const std::string s_value = s_Normalised(s_Value);
    if (s_value == "YES" || s_value == "TRUE" || s_value == "ON" || s_value == "1") {
        return 1;
    }
    return s_value == "NO" || s_value == "FALSE" || s_value == "OFF" || s_value == "0" ? 0 : -1;
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
    if (s_Key == gpc_ImportFolder || s_Key == gpc_ExportFolder) {
        if (!b_FolderValue(s_Value, co_folder)) {
            return false;
        }
        s_Key == gpc_ImportFolder ? co_paths.v_SetBatchImportPath(co_folder)
                                  : co_paths.v_SetBatchExportPath(co_folder);
        return true;
    }
    const int i_value = s_Key == gpc_StoryOrder ? i_OrderValue(s_Value) : i_FlagValue(s_Value);
    if (i_value < 0) {
        return false;
    }
    s_Key == gpc_StoryOrder ? co_list.v_SetDefaultStoryOrder(static_cast<et_StoryOrder>(i_value))
                            : co_list.v_SetIgnorePasteBoard(i_value);
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
    const std::string s_key = s_Normalised(co_options.s_SettingsKey);
    const char* const apc_keys[] = {gpc_ImportFolder, gpc_ExportFolder, gpc_StoryOrder,
                                    gpc_IgnorePasteBoard};
    if (std::find(std::begin(apc_keys), std::end(apc_keys), s_key) == std::end(apc_keys)) {
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
                             "\"; it takes " + s_Accepted(s_key));
        return e_ExitUsage;
    }
    co_settings.v_Save();
    return seo_RunShow(co_Session);
}
