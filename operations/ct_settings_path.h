// Where the settings file lives when the user names none: $XDG_CONFIG_HOME/storyport/settings,
// or ~/.config/storyport/settings when that variable is unset, empty or relative (the XDG rule).
#pragma once

#include <string>

class CT_SettingsPath {
  public:
    // The default path, from the environment; empty when neither variable nor home is known.
    static std::string s_GetDefault();
    // Creates the folders above the path that are missing. Raises e_FileOpen naming the folder
    // on failure.
    static void sv_CreateFolder(const std::string& s_Path);
};
