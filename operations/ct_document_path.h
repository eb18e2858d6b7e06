// The document the user names on the command line, looked at before the host opens it, so that
// a folder, a missing file or a file that cannot be read is named as what it is rather than as
// a broken package. Looking at it is also when what killed runs left beside it is removed.
// Stateless.
#pragma once

#include <string>

class CT_DocumentPath {
  public:
    // Raises e_FileOpen with a text naming the path and what is wrong with it.
    static void sv_Check(const std::string& s_Path);
};
