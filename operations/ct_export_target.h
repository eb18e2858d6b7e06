// The file an export is about to write, checked before anything is written. An export never
// replaces its own document (named by another path or through a link as well) or a folder,
// and replaces an existing file only when it is a tagged story file or an XLIFF file, which
// an earlier export may have written, unless the user forces it. Stateless.
#pragma once

#include <string>

class CT_ExportTarget {
  public:
    // Raises e_FileWrite with a text naming the target and why it is refused.
    static void sv_Check(const std::string& s_Document, const std::string& s_Target, bool b_Force);
    // Whether the file begins like a tagged story file (its version tag, whatever the line
    // ends) or is XML whose root element is "xliff".
    static bool sb_IsTaggedOrXliff(const std::string& s_Path);
};
