#include "operations/ct_settings_path.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/common/ct_errors.h"

namespace {
std::string s_HomeFolder() {
    const char* pc_home = std::getenv("HOME");
    if (pc_home != nullptr && pc_home[0] != '\0') {
        return pc_home;
    }
    const passwd* pco_user = getpwuid(getuid());
    return pco_user != nullptr && pco_user->pw_dir != nullptr ? pco_user->pw_dir : "";
}
}  // namespace

std::string CT_SettingsPath::s_GetDefault() {
    const char* pc_config = std::getenv("XDG_CONFIG_HOME");
    if (pc_config != nullptr && pc_config[0] == '/') {
        return std::string(pc_config) + "/storyport/settings";
    }
    const std::string s_home = s_HomeFolder();
    if (s_home.empty()) {
        return "";
    }
    return s_home + "/.config/storyport/settings";
}

void CT_SettingsPath::sv_CreateFolder(const std::string& s_Path) {
    namespace fs = std::filesystem;
    const fs::path co_folder = fs::path(s_Path).parent_path();
    if (co_folder.empty()) {
        return;
    }
    std::error_code co_error;
    fs::create_directories(co_folder, co_error);
    if (co_error) {
        CT_Errors::v_ThrowError(
            e_FileOpen, CT_String(("cannot create the settings folder \"" + co_folder.string() +
                                   "\": " + co_error.message())
                                      .c_str()));
    }
}
