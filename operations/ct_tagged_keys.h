// The story keys of a tagged story file, in file order, read the way an import reads them.
// Used by check to compare file and document, and before an import so that the host lists
// every story the file names.
#pragma once

#include <string>
#include <vector>

class CT_Files;

class CT_TaggedKeys {
  public:
    // Raises e_FileRead naming the file when it is not a tagged story file; file errors pass.
    static std::vector<std::string> sco_Read(const std::string& s_Tagged);
    // The same, empty for a file that cannot be read: the import that follows says why.
    static std::vector<std::string> sco_ReadOrNone(const std::string& s_Tagged);
    // Opens the file for reading just past its open version tag, where the first story
    // starts; raises e_FileRead naming the file when the tag is missing.
    static void sv_OpenAtFirstStory(CT_Files& co_File, const std::string& s_Tagged);
};
