// Replaces a file in one step, so that a crash or a failure at any point leaves either the old
// file or the complete new one: the new content goes to a temporary file in the run's folder
// beside the target (CT_RunFolder: the rename stays on one file system, and a killed run's
// temporary is found again; the target's permissions; a symbolic link keeps naming the file it
// named), is flushed, renamed over the target, and the folder is flushed. The object owns the
// temporary until it is committed; destroyed before, it removes it.
#pragma once

#include <memory>
#include <string>

#include "platform/common/ct_run_folder.h"
#include "platform/common/ct_string.h"

class CT_AtomicReplace {
  public:
    // Creates the temporary; raises e_FileOpen naming the target as the caller spelled it.
    explicit CT_AtomicReplace(const CT_String& co_Target);
    ~CT_AtomicReplace();
    CT_AtomicReplace(const CT_AtomicReplace&) = delete;
    CT_AtomicReplace& operator=(const CT_AtomicReplace&) = delete;

    // The temporary, open for writing; -1 after v_CloseFd.
    int i_Fd() const { return i_Descriptor; }
    const std::string& s_TempPath() const { return s_Temp; }
    // For writers that write by path (a library that makes its own files): closes the
    // descriptor, the temporary stays.
    void v_CloseFd();

    // Puts the temporary in place of the target. With b_Durable the data and the folder reach
    // the disk first and after. Raises e_FileWrite (flushing or closing failed) or
    // e_FileReplace (the rename failed); the temporary is removed and the target is untouched.
    void v_Commit(bool b_Durable = true);

  private:
    [[noreturn]] void v_Fail(int i_Code, const char* pc_What, int i_Errno);

    CT_String co_Shown;
    std::unique_ptr<CT_RunFolder> pco_Run;  // holds the temporary
    std::string s_Target;
    std::string s_Temp;
    int i_Descriptor = -1;
    bool b_Committed = false;
};
