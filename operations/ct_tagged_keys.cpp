#include "operations/ct_tagged_keys.h"

#include "platform/common/ct_errors.h"
#include "platform/common/ct_files.h"
#include "platform/host/ct_basic_interface.h"
#include "textbox/ct_text_box.h"

std::vector<std::string> CT_TaggedKeys::sco_Read(const std::string& s_Tagged) {
    CT_Files co_file;
    sv_OpenAtFirstStory(co_file, s_Tagged);
    CT_TextBox::CT_FileInUse co_fileInUse(co_file);
    std::vector<std::string> co_keys;
    CT_String co_key;
    while (CT_TextBox::b_GetNextBoxKey(co_key)) {
        co_keys.emplace_back(co_key.sv());
    }
    co_file.v_Close();
    return co_keys;
}

std::vector<std::string> CT_TaggedKeys::sco_ReadOrNone(const std::string& s_Tagged) {
    try {
        return sco_Read(s_Tagged);
    } catch (et_ErrorCode) {
        CT_Errors::v_ResetError();
        return {};
    }
}

void CT_TaggedKeys::sv_OpenAtFirstStory(CT_Files& co_File, const std::string& s_Tagged) {
    co_File.v_Open(CT_String(s_Tagged.c_str()), e_OpenRead, 0);
    std::string s_tag(CT_BasicInterface::co_GetOpenVersionTag().sv());
    try {
        co_File.v_MoveUntil(CT_String(s_tag.c_str()));
    } catch (et_ErrorCode eo_code) {
        if (eo_code != e_EndOfFile) {
            throw;
        }
        s_tag.erase(s_tag.find_last_not_of("\r\n") + 1);
        CT_Errors::v_ThrowError(
            e_FileRead,
            CT_String(
                ("\"" + s_Tagged + "\" is not a tagged story file: it lacks " + s_tag).c_str()));
    }
}
