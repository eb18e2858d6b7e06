// The system calls behind CT_Files and CT_LogStream: path spelling, opening, creating and
// writing. A path is bytes: "/" parts its components and a backslash is a character of a name
// like any other, but for the one a batch runner puts after its folder (sco_OsPath).
// Descriptors returned belong to the caller.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/common/ct_error_code.h"
#include "platform/common/ct_run_folder.h"
#include "platform/common/ct_string.h"

class CT_OsFile {
  public:
    // The folder of a path in the system's spelling; "." for a bare name.
    static std::string sco_Folder(const std::string& co_OsPath);

    // The path as the system takes it: the caller's bytes, but for the one backslash that a
    // batch runner puts between its folder (sv_SetBatchFolder) and a file's name, which
    // becomes "/". Every other backslash is a character of a name.
    static std::string sco_OsPath(std::string_view co_Path);
    // The batch runner's folder as it joins names to it, ending with the backslash it puts
    // there; empty for none. Process-wide, set while one batch is prepared.
    static void sv_SetBatchFolder(const std::string& co_Folder);

    // Raises the code with the text pc_What, the quoted path, pc_How and, for a non-zero
    // errno, ": " and the system's reason.
    [[noreturn]] static void sv_Raise(et_ErrorCode eo_Code, const char* pc_What,
                                      const CT_String& co_Path, const char* pc_How, int i_Errno);

    // The system's reason for the error number as a message gives it: strerror's, but in plain
    // words where that misleads ("No space left on device" for a full disk).
    static std::string sco_Reason(int i_Errno);

    // A descriptor for reading the file; raises e_FileOpen, also for a folder.
    static int si_OpenForReading(const CT_String& co_Path);
    // Creates a new empty file in the run's folder beside the target (pco_Run, which must
    // outlive the file), with the target's permissions when it exists, and gives its path in
    // co_Temp; raises e_FileOpen. The target is resolved first when it is a symbolic link, into
    // co_Target.
    static int si_CreateBeside(const CT_String& co_Path, std::string& co_Target,
                               std::string& co_Temp, std::unique_ptr<CT_RunFolder>& pco_Run);
    // Creates a new empty file in the system's temporary folder; raises e_FileOpen.
    static int si_CreateIntermediate(std::string& co_Path);

    // False with errno set when not every byte could be written.
    static bool sb_WriteAll(int i_Fd, const char* pc_Data, std::size_t n_Length);
    // Reads what the file holds at the offset, up to n_Length bytes, without moving its
    // position: fewer only at its end; -1 with errno set when a read fails.
    static long long sn_ReadAt(int i_Fd, std::uint64_t n_Offset, char* pc_Into,
                               std::size_t n_Length);
    // Starts sending bytes written to the disk without waiting for them, for a file that is
    // flushed when it is complete: the flush then waits for little. Nothing where the system
    // has no such call.
    static void sv_StartWriteback(int i_Fd, std::uint64_t n_From, std::uint64_t n_Length);
    // Copies the bytes of a file to a new file (mode 0600) through sb_WriteAll, so that the
    // system's reason for a failure is the one given; 0, or the errno, with co_To removed.
    static int si_Copy(const std::string& co_From, const std::string& co_To);
    // fsync and rename, 0 or -1 with errno set.
    static int si_Sync(int i_Fd);
    static int si_Rename(const std::string& co_From, const std::string& co_To);

    // A seam for tests that make the disk fail: asked before every write, flush and rename of
    // a file being written ("write", "fsync", "rename"), it answers 0 to let the call run or
    // the errno it fails with. Null, the default, lets every call run.
    using CT_FaultHook = int (*)(const char* pc_Call);
    static void sv_SetFaultHook(CT_FaultHook pf_Hook);
    // Flushes a folder so that a rename inside it survives a crash; failures are ignored.
    static void sv_SyncFolder(const std::string& co_OsFolder);
};
