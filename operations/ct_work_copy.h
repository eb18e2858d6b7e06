// A working copy of a document for an import. The import runs on a copy with the same file
// name in the run's folder beside the document (CT_RunFolder), so that an import that fails
// half-way or is cancelled leaves the document exactly as it was; only an import that went
// through is put in place, in one rename, after the document as it was has been kept as a
// backup.
//
// A document named through a symbolic link is the file the link points to: that file is
// replaced, with its permissions, and the link stays. What runs that were killed left beside
// the document is removed the next time the document is used.
//
// The object owns its folder in the run's folder and removes it, with whatever is left in it,
// when it is destroyed. Every failure raises an et_ErrorCode through CT_Errors with a text
// naming the path.
#pragma once

#include <memory>
#include <string>

#include "platform/common/ct_run_folder.h"

class CT_WorkCopy {
  public:
    // The copy's folder goes beside the document, or into s_Parent when one is given (a copy
    // that is never put in place need not be on the document's file system). A copy to be put
    // in place refuses a read-only document.
    explicit CT_WorkCopy(const std::string& s_Document, const std::string& s_Parent = "");
    ~CT_WorkCopy();
    CT_WorkCopy(const CT_WorkCopy&) = delete;
    CT_WorkCopy& operator=(const CT_WorkCopy&) = delete;

    const std::string& s_GetDocument() const { return s_Document; }
    const std::string& s_GetPath() const { return s_Path; }
    // The copy's folder, with a trailing slash, and the document's folder the same way: a
    // message naming the copy names the document once the first is replaced by the second.
    const std::string& s_GetFolder() const { return s_Folder; }
    const std::string& s_GetDocumentFolder() const { return s_DocumentFolder; }

    // Keeps the document as it is now in a backup (unless b_Backup is false), then puts the
    // copy in its place with the document's permissions. Returns the backup's path, empty
    // without backup.
    std::string s_Commit(bool b_Backup);

    // The path of the next backup of a document: DOC.bak, or, when that is taken by an
    // earlier import, the first free one of DOC.bak.2, DOC.bak.3, ... No backup is ever
    // replaced, so the document as it was before its first import stays in DOC.bak.
    static std::string ss_BackupPath(const std::string& s_Document);
    // Removes what runs that were killed left beside the document: the run folders of
    // processes of this machine that no longer run and half-written backups.
    static void sv_RemoveLeftovers(const std::string& s_Document);

  private:
    std::unique_ptr<CT_RunFolder> pco_Run;  // holds s_Folder when beside the document
    std::string s_Document;                 // as the user named it
    std::string s_Target;                   // the file itself, links resolved
    std::string s_DocumentFolder;
    std::string s_Folder;
    std::string s_Path;
};
