// The settings file as the command reads it: the check that names every line the reader would
// misread, then the reader on the bytes with the words of the settings turned into numbers. Any
// bytes give settings, problems or an error, never a crash; every problem names the file and its
// line, and stays short however long the line. The file is served from memory, so that an execution
// costs no file system work.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "operations/ct_settings_file_check.h"
#include "platform/common/ct_errors.h"
#include "platform/common/ct_files.h"
#include "settings/ct_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pc_Data, std::size_t n_Size) {
    const std::string s_bytes(reinterpret_cast<const char*>(pc_Data), n_Size);
    const std::string s_path = "/storyport-fuzz.settings";
    for (const std::string& s_problem : CT_SettingsFileCheck::sco_ProblemsIn(s_bytes, s_path)) {
        if (s_problem.compare(0, s_path.size() + 1, s_path + ":") != 0 || s_problem.size() > 1024) {
            std::abort();
        }
    }
    const std::string s_numbered = CT_SettingsFileCheck::ss_Numbered(s_bytes);
    const CT_String co_path(s_path.c_str());
    CT_Files::sv_ServeFromMemory(co_path, s_numbered);
    CT_Settings co_Settings(co_path);
    try {
        co_Settings.v_Load();
    } catch (et_ErrorCode) {
    }
    CT_Files::sv_ServeFromMemory(CT_String(), std::string_view());
    CT_Errors::v_ResetError();
    return 0;
}
