// The stories of a tagged story file by key, read the way an import reads them: past the host's
// open version tag, then each story's content between its start tag and its end tag.
#pragma once

#include <map>
#include <string>

class CT_TaggedStories {
  public:
    // Key to content; a key that comes twice keeps its first story (check reports the second).
    // Raises e_FileOpen or e_FileRead naming the file when it cannot be read or is no tagged
    // story file.
    static std::map<std::string, std::string> sco_Read(const std::string& s_Path);
};
