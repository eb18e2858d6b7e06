#include "tools/ct_work_copy.h"

#include <stdlib.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/common/ct_errors.h"

namespace fs = std::filesystem;

namespace {
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

// Copies the file to a temporary name beside the target, then renames it into place, so that
// the target is either its old self or the whole copy.
void v_CopyAtomically(const fs::path& co_From, const fs::path& co_To) {
    const fs::path co_partial = co_To.string() + ".partial";
    std::error_code co_error;
    fs::copy_file(co_From, co_partial, fs::copy_options::overwrite_existing, co_error);
    if (co_error) {
        std::error_code co_ignored;
        fs::remove(co_partial, co_ignored);
        v_Fail(e_FileWrite,
               "cannot copy \"" + co_From.string() + "\" to \"" + co_To.string() + "\"", co_error);
    }
    fs::rename(co_partial, co_To, co_error);
    if (co_error) {
        std::error_code co_ignored;
        fs::remove(co_partial, co_ignored);
        v_Fail(e_FileReplace, "cannot put \"" + co_To.string() + "\" in place", co_error);
    }
}
}  // namespace

CT_WorkCopy::CT_WorkCopy(const std::string& s_Document, const std::string& s_Parent)
    : s_Document(s_Document) {
    std::error_code co_error;
    const fs::path co_document = fs::absolute(s_Document, co_error);
    if (!fs::is_regular_file(co_document, co_error)) {
        CT_Errors::v_ThrowError(
            e_FileOpen, CT_String(("cannot open \"" + s_Document + "\": no such file").c_str()));
    }
    s_DocumentFolder = s_WithSlash(co_document.parent_path());
    const std::string s_parent = s_Parent.empty() ? s_DocumentFolder : s_WithSlash(s_Parent);
    std::vector<char> co_template(s_parent.begin(), s_parent.end());
    const std::string s_name = ".storyport-XXXXXX";
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
    std::string s_backup;
    if (b_Backup) {
        s_backup = ss_BackupPath(s_Document);
        v_CopyAtomically(s_Document, s_backup);
    }
    std::error_code co_error;
    fs::rename(s_Path, s_Document, co_error);
    if (co_error) {
        v_Fail(e_FileReplace, "cannot put the imported document in place of \"" + s_Document + "\"",
               co_error);
    }
    return s_backup;
}

std::string CT_WorkCopy::ss_BackupPath(const std::string& s_Document) {
    return s_Document + ".bak";
}
