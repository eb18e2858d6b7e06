// The file an export is about to write, checked before anything is written. An export never
// replaces its own document (named by another path or through a link as well) or a folder, and
// never destroys a translation: an existing file is replaced only when it is a tagged story file
// or an XLIFF file that holds nothing a translator did (an earlier export), unless the user
// forces it, and then what it held is kept as a backup first. The refusals are worded here.
// Stateless.
#pragma once

#include <string>

class CT_IdmlHost;

class CT_ExportTarget {
  public:
    // Raises e_FileWrite with a text naming the target and why it is refused: the document
    // itself, a folder, what is not a regular file; and, unless b_Force, a file that is not a
    // tagged story or XLIFF file, an XLIFF file with a translated unit (CT_XliffTranslations)
    // and a tagged story file with a story whose content is not what the document's export
    // writes (the document is opened in co_Host to tell, and closed again unless it was open,
    // or b_LeaveOpen asks for it to stay open for the export that follows, which then reads
    // it only once; the caller closes it). A target that cannot be read to tell counts as a
    // translation. With b_Force, a file that would be refused is first copied to TARGET.bak
    // (TARGET.bak.2, ... when taken) unless b_Backup is false; returns that path, empty when
    // nothing was kept.
    static std::string ss_Check(CT_IdmlHost& co_Host, const std::string& s_Document,
                                const std::string& s_Target, bool b_Force, bool b_Backup = true,
                                bool b_LeaveOpen = false);
    // Drops a backup that ss_Check kept when the target still holds exactly what it holds (the
    // export failed, was cancelled or wrote the same bytes): nothing was replaced. Whether the
    // backup stays.
    static bool sb_KeepsBackup(const std::string& s_Target, const std::string& s_Backup);
    // Makes the folders of the target's path that are missing. Raises e_FileWrite naming the
    // folder when one cannot be made or a file stands in its place.
    static void sv_MakeFolder(const std::string& s_Target);
    // Whether the file begins like a tagged story file (its version tag, whatever the line
    // ends) or is XML whose root element is "xliff".
    static bool sb_IsTaggedOrXliff(const std::string& s_Path);
};
