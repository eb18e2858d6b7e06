#include "settings/ct_settings.h"

#include <cstdint>
#include <limits>
#include <string>

#include "platform/common/ct_errors.h"

namespace {
// Built when the library is loaded, like every constant string of the kernel.
const CT_String gco_ImportFolderKey("IMPORT_FOLDER");
const CT_String gco_ExportFolderKey("EXPORT_FOLDER");
const CT_String gco_StoryOrderKey("STORY_ORDER");
const CT_String gco_IgnorePasteBoardKey("IGNORE_STORY_ON_PASTE_BOARD");
const CT_String gco_Assign(" = ");
const CT_String gco_Quote("\"");

bool b_IsBlank(char c_Char) {
    return c_Char == ' ' || c_Char == '\t' || c_Char == '\n' || c_Char == '\v' || c_Char == '\f' ||
           c_Char == '\r';
}

// Leading blanks and one sign, then digits up to the first other character; no digits gives
// 0. Values beyond the 32-bit range stop at its bounds instead of wrapping round.
std::int32_t i_ToNumber(const CT_String& co_Text) {
    const char* pc_char = co_Text;
    while (b_IsBlank(*pc_char)) {
        ++pc_char;
    }
    bool b_negative = *pc_char == '-';
    if (*pc_char == '-' || *pc_char == '+') {
        ++pc_char;
    }
    const std::int64_t i_limit = b_negative
                                     ? -std::int64_t{std::numeric_limits<std::int32_t>::min()}
                                     : std::int64_t{std::numeric_limits<std::int32_t>::max()};
    std::int64_t i_value = 0;
    for (; *pc_char >= '0' && *pc_char <= '9'; ++pc_char) {
        i_value = i_value * 10 + (*pc_char - '0');
        if (i_value > i_limit) {
            i_value = i_limit;
        }
    }
    return static_cast<std::int32_t>(b_negative ? -i_value : i_value);
}
}  // namespace

CT_Settings::CT_Settings(const CT_String& co_Path) : co_FileName(co_Path) {}

void CT_Settings::v_Load() {
    if (!CT_Files::sb_Exist(co_FileName)) {
        v_Save();
        return;
    }
    CT_Files co_file;
    co_file.v_Open(co_FileName, e_OpenRead, 0);

    CT_PathSettings& co_paths = co_ProcessSettings.co_GetPathSettings();
    CT_StoryListSettings& co_list = co_ProcessSettings.co_GetStoryListSettings();
    CT_String co_text;
    if (b_ReadVariable(co_file, gco_ImportFolderKey, co_text)) {
        co_paths.v_SetBatchImportPath(co_text);
    }
    if (b_ReadVariable(co_file, gco_ExportFolderKey, co_text)) {
        co_paths.v_SetBatchExportPath(co_text);
    }
    unsigned n_number = 0;
    if (b_ReadVariable(co_file, gco_StoryOrderKey, n_number)) {
        co_list.v_SetDefaultStoryOrder(static_cast<et_StoryOrder>(static_cast<int>(n_number)));
    }
    if (b_ReadVariable(co_file, gco_IgnorePasteBoardKey, n_number)) {
        co_list.v_SetIgnorePasteBoard(static_cast<int>(n_number));
    }
    co_file.v_Close();
}

void CT_Settings::v_Save() {
    CT_PathSettings& co_paths = co_ProcessSettings.co_GetPathSettings();
    CT_StoryListSettings& co_list = co_ProcessSettings.co_GetStoryListSettings();
    CT_Files co_file;
    co_file.v_Open(co_FileName, e_OpenWrite, 0);
    v_WriteVariable(co_file, gco_ImportFolderKey, co_paths.co_GetBatchImportPath());
    v_WriteVariable(co_file, gco_ExportFolderKey, co_paths.co_GetBatchExportPath());
    v_WriteVariable(co_file, gco_StoryOrderKey,
                    static_cast<unsigned>(co_list.eo_GetDefaultStoryOrder()));
    v_WriteVariable(co_file, gco_IgnorePasteBoardKey,
                    static_cast<unsigned>(co_list.b_GetIgnorePasteBoard()));
    co_file.v_Close();
}

int CT_Settings::b_ReadVariable(CT_Files& co_File, const CT_String& co_Key, CT_String& co_Value) {
    try {
        co_File.v_MoveUntil(co_Key);
        co_File.v_MoveUntil(gco_Assign);
        co_File.v_MoveUntil(gco_Quote);
        co_File.v_ReadUntil(co_Value, gco_Quote);
        return 1;
    } catch (et_ErrorCode) {
        // Above all the end of the file before a marker: a hand-edited file lacks the key.
        CT_Errors::v_ResetError();
        return 0;
    }
}

int CT_Settings::b_ReadVariable(CT_Files& co_File, const CT_String& co_Key, unsigned& n_Value) {
    CT_String co_text;
    int b_read = b_ReadVariable(co_File, co_Key, co_text);
    n_Value = static_cast<unsigned>(i_ToNumber(co_text));
    return b_read;
}

void CT_Settings::v_WriteVariable(CT_Files& co_File, const CT_String& co_Key,
                                  const CT_String& co_Value) {
    co_File.v_Write(co_Key);
    co_File.v_Write(gco_Assign);
    co_File.v_Write(gco_Quote);
    co_File.v_Write(co_Value);
    co_File.v_Writeln(gco_Quote);
}

void CT_Settings::v_WriteVariable(CT_Files& co_File, const CT_String& co_Key, unsigned n_Value) {
    CT_String co_text(std::to_string(static_cast<std::int32_t>(n_Value)));
    v_WriteVariable(co_File, co_Key, co_text);
}
