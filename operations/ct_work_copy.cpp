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

namespace fs = std::filesystem;

namespace {
const std::string gs_Hidden = ".storyport-";

[[noreturn]] void v_Fail(et_ErrorCode eo_Code, const std::string& s_What,
                         const std::error_code& co_Error) {
    CT_Errors::v_ThrowError(eo_Code, CT_String((s_What + ": " + co_Error.message()).c_str()));
}

std::string s_WithSlash(const fs::path& co_Folder) {
    std::string s_folder = co_Folder.string();
    if (s_folder.empty() || s_folder.back() != '/') {
        s_folder += '/';
    }
    return s_folder;
}

// Whether the hidden folder's name says that it belongs to a process that has ended.
bool b_IsAbandoned(const std::string& s_Name) {
    if (s_Name.compare(0, gs_Hidden.size(), gs_Hidden) != 0) {
        return false;
    }
    char* pc_end = nullptr;
    const long i_pid = std::strtol(s_Name.c_str() + gs_Hidden.size(), &pc_end, 10);
    if (i_pid <= 0 || *pc_end != '-') {
        return false;
    }
    return kill(static_cast<pid_t>(i_pid), 0) != 0 && errno == ESRCH;
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
    const std::string s_parent = s_Parent.empty() ? s_DocumentFolder : s_WithSlash(s_Parent);
    const std::string s_name = gs_Hidden + std::to_string(getpid()) + "-XXXXXX";
    std::vector<char> co_template(s_parent.begin(), s_parent.end());
    co_template.insert(co_template.end(), s_name.begin(), s_name.end());
    co_template.push_back('\0');
    if (mkdtemp(co_template.data()) == nullptr) {
        v_Fail(e_FileWrite, "cannot create a working folder in \"" + s_parent + "\"",
               std::error_code(errno, std::generic_category()));
    }
    s_Folder = s_WithSlash(co_template.data());
    s_Path = s_Folder + co_document.filename().string();
    fs::copy_file(co_document, s_Path, co_error);
    if (co_error) {
        std::error_code co_ignored;
        fs::remove_all(s_Folder, co_ignored);
        v_Fail(e_FileWrite, "cannot copy \"" + s_Document + "\" to a working copy", co_error);
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
        // Copied inside the working folder first, so that a run killed while copying leaves
        // no half-written backup beside the document; then moved to a free name.
        const std::string s_partial = s_Folder + "backup";
        s_backup = ss_BackupPath(s_Document);
        fs::copy_file(s_Target, s_partial, co_error);
        if (!co_error) {
            fs::rename(s_partial, s_backup, co_error);
        }
        if (co_error) {
            v_Fail(e_FileWrite, "cannot keep \"" + s_Document + "\" in \"" + s_backup + "\"",
                   co_error);
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
    for (fs::directory_iterator it_entry(co_document.parent_path(), co_error);
         !co_error && it_entry != fs::directory_iterator(); it_entry.increment(co_error)) {
        if (b_IsAbandoned(it_entry->path().filename().string())) {
            std::error_code co_ignored;
            fs::remove_all(it_entry->path(), co_ignored);
        }
    }
    // What earlier versions wrote while copying a backup.
    fs::remove(s_Document + ".bak.partial", co_error);
}
