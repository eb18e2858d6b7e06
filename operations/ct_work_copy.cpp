#include "operations/ct_work_copy.h"

#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/common/ct_errors.h"
#include "platform/common/ct_run_folder.h"
#include "platform/common/internal/ct_os_file.h"

namespace fs = std::filesystem;

namespace {
[[noreturn]] void v_Fail(et_ErrorCode eo_Code, const std::string& s_What,
                         const std::error_code& co_Error) {
    CT_Errors::v_ThrowError(
        eo_Code, CT_String((s_What + ": " + CT_OsFile::sco_Reason(co_Error.value())).c_str()));
}

[[noreturn]] void v_Fail(et_ErrorCode eo_Code, const std::string& s_What, int i_Errno) {
    v_Fail(eo_Code, s_What, std::error_code(i_Errno, std::generic_category()));
}

std::string s_WithSlash(const fs::path& co_Folder) {
    std::string s_folder = co_Folder.string();
    if (s_folder.empty() || s_folder.back() != '/') {
        s_folder += '/';
    }
    return s_folder;
}

bool b_IsReadOnly(const fs::path& co_File) {
    std::error_code co_error;
    const fs::perms eo_perms = fs::status(co_File, co_error).permissions();
    const fs::perms eo_write =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (eo_perms & eo_write) == fs::perms::none || access(co_File.c_str(), W_OK) != 0;
}
}  // namespace

CT_WorkCopy::CT_WorkCopy(const std::string& s_Document, const std::string& s_Parent)
    : s_Document(s_Document) {
    std::error_code co_error;
    const fs::path co_document = fs::canonical(s_Document, co_error);
    if (co_error || !fs::is_regular_file(co_document, co_error)) {
        CT_Errors::v_ThrowError(
            e_FileOpen, CT_String(("cannot open \"" + s_Document + "\": no such file").c_str()));
    }
    if (s_Parent.empty() && b_IsReadOnly(co_document)) {
        CT_Errors::v_ThrowError(
            e_FileWrite,
            CT_String((s_Document + " is read-only: nothing was imported (make it writable "
                                    "to import into it)")
                          .c_str()));
    }
    sv_RemoveLeftovers(s_Document);
    s_Target = co_document.string();
    s_DocumentFolder = s_WithSlash(co_document.parent_path());
    if (s_Parent.empty()) {
        pco_Run = std::make_unique<CT_RunFolder>(s_DocumentFolder);
    }
    const std::string s_parent = pco_Run ? pco_Run->s_GetPath() : s_WithSlash(s_Parent);
    if (s_parent.empty()) {
        v_Fail(e_FileWrite, "cannot create a working folder in \"" + s_DocumentFolder + "\"",
               std::error_code(errno, std::generic_category()));
    }
    const std::string s_name = "copy-XXXXXX";
    std::vector<char> co_template(s_parent.begin(), s_parent.end());
    co_template.insert(co_template.end(), s_name.begin(), s_name.end());
    co_template.push_back('\0');
    if (mkdtemp(co_template.data()) == nullptr) {
        v_Fail(e_FileWrite, "cannot create a working folder in \"" + s_parent + "\"",
               std::error_code(errno, std::generic_category()));
    }
    s_Folder = s_WithSlash(co_template.data());
    s_Path = s_Folder + co_document.filename().string();
    if (const int i_errno = CT_OsFile::si_Copy(co_document.string(), s_Path)) {
        std::error_code co_ignored;
        fs::remove_all(s_Folder, co_ignored);
        v_Fail(e_FileWrite, "cannot copy \"" + s_Document + "\" to a working copy", i_errno);
    }
}

CT_WorkCopy::~CT_WorkCopy() {
    std::error_code co_error;
    fs::remove_all(s_Folder, co_error);
}

std::string CT_WorkCopy::s_Commit(bool b_Backup) {
    std::error_code co_error;
    std::string s_backup;
    if (b_Backup) {
        // Copied into the run's folder beside the backup first, so that a run killed while
        // copying leaves no half-written backup, and the rename to a free name stays on the
        // backup's file system, which a document named by a link need not share.
        s_backup = ss_BackupPath(s_Document);
        const CT_RunFolder co_run(fs::path(s_backup).parent_path().string());
        const std::string s_partial = co_run.s_GetPath() + "backup";
        int i_errno = co_run.s_GetPath().empty() ? errno : CT_OsFile::si_Copy(s_Target, s_partial);
        if (i_errno == 0 && ::rename(s_partial.c_str(), s_backup.c_str()) != 0) {
            i_errno = errno;
        }
        if (i_errno != 0) {
            v_Fail(e_FileWrite, "cannot keep \"" + s_Document + "\" in \"" + s_backup + "\"",
                   i_errno);
        }
    }
    // The host writes a new file for the copy; it takes the document's permissions.
    fs::permissions(s_Path, fs::status(s_Target, co_error).permissions(), co_error);
    fs::rename(s_Path, s_Target, co_error);
    if (co_error) {
        v_Fail(e_FileReplace, "cannot put the imported document in place of \"" + s_Document + "\"",
               co_error);
    }
    return s_backup;
}

std::string CT_WorkCopy::ss_BackupPath(const std::string& s_Document) {
    std::error_code co_error;
    std::string s_backup = s_Document + ".bak";
    for (unsigned n_number = 2; fs::exists(fs::symlink_status(s_backup, co_error)); ++n_number) {
        s_backup = s_Document + ".bak." + std::to_string(n_number);
    }
    return s_backup;
}

void CT_WorkCopy::sv_RemoveLeftovers(const std::string& s_Document) {
    std::error_code co_error;
    const fs::path co_document = fs::weakly_canonical(fs::absolute(s_Document, co_error), co_error);
    CT_RunFolder::sv_Sweep(co_document.parent_path().string());
    // What earlier versions wrote while copying a backup.
    fs::remove(s_Document + ".bak.partial", co_error);
}
