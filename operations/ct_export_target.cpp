#include "operations/ct_export_target.h"

#include <filesystem>
#include <map>
#include <system_error>
#include <vector>

#include "exchange/ct_xliff_translations.h"
#include "operations/ct_file_kind.h"
#include "operations/ct_tagged_file.h"
#include "operations/ct_tagged_stories.h"
#include "operations/ct_work_copy.h"
#include "platform/common/ct_errors.h"
#include "platform/common/ct_file_bytes.h"
#include "platform/host/idml/ct_idml_host.h"

namespace fs = std::filesystem;

namespace {
[[noreturn]] void v_Refuse(const std::string& s_Text) {
    CT_Errors::v_ThrowError(e_FileWrite, CT_String(s_Text.c_str()));
}

constexpr const char* kpc_Forced = " (--force replaces it, keeping it as a backup)";

// "3 translated units: u1.1, u1.2, u2.4" with at most a few names.
std::string s_Some(const std::vector<std::string>& co_Names, const std::string& s_One,
                   const std::string& s_Many) {
    constexpr std::size_t kn_Shown = 3;
    std::string s_text =
        std::to_string(co_Names.size()) + " " + (co_Names.size() == 1 ? s_One : s_Many) + ": ";
    for (std::size_t n = 0; n < co_Names.size() && n < kn_Shown; ++n) {
        s_text += (n == 0 ? "" : ", ") + co_Names[n];
    }
    if (co_Names.size() > kn_Shown) {
        s_text += " and " + std::to_string(co_Names.size() - kn_Shown) + " more";
    }
    return s_text;
}

std::string s_HoldsTranslation(const std::string& s_Target, const std::string& s_What) {
    return s_Target + " holds a translation (" + s_What +
           "): an export would put the document's text in its place, so it was left as it is" +
           kpc_Forced;
}

std::string s_Unreadable(const std::string& s_Target, const std::string& s_Why) {
    return s_Target + " cannot be read to tell whether it holds a translation (" + s_Why +
           "), so it was left as it is" + kpc_Forced;
}

// Why an XLIFF file may not be replaced, empty when it may.
std::string s_XliffRefusal(const std::string& s_Target) {
    std::string s_error;
    const std::vector<std::string> co_units = CT_XliffTranslations::sco_Find(s_Target, s_error);
    if (!s_error.empty()) {
        return s_Unreadable(s_Target, s_error);
    }
    return co_units.empty() ? std::string()
                            : s_HoldsTranslation(s_Target, s_Some(co_units, "translated unit",
                                                                  "translated units"));
}

// Why a tagged story file may not be replaced, empty when it may: the stories the document has
// are compared with what its export writes. A story the document lacks tells nothing.
std::string s_TaggedRefusal(CT_IdmlHost& co_Host, const std::string& s_Document,
                            const std::string& s_Target, bool b_LeaveOpen) {
    std::map<std::string, std::string> co_stories;
    try {
        try {
            co_stories = CT_TaggedStories::sco_Read(s_Target);
        } catch (et_ErrorCode) {
            // Read as an import reads it, whatever its line ends.
            CT_Errors::v_ResetError();
            const CT_TaggedFile co_file(s_Target);
            co_stories = CT_TaggedStories::sco_Read(co_file.s_GetReadablePath());
        }
    } catch (et_ErrorCode) {
        const std::string s_why(CT_Errors::cco_GetLastError().sv());
        CT_Errors::v_ResetError();
        return s_Unreadable(s_Target, s_why);
    }
    const CT_String co_path(s_Document.c_str());
    void* p_document = co_Host.p_IsDocumentOpen(co_path);
    const bool b_open = p_document != nullptr;
    std::vector<std::string> co_changed;
    try {
        if (!b_open) {
            p_document = co_Host.p_Open(co_path, 1);
        }
        for (const auto& co_story : co_stories) {
            if (co_Host.b_DiffersFromExport(co_story.first, co_story.second)) {
                co_changed.push_back(co_story.first);
            }
        }
    } catch (et_ErrorCode) {
        if (p_document != nullptr && !b_open) {
            co_Host.v_Close(p_document, 0);
        }
        co_Host.v_Release(p_document);
        throw;
    }
    if (!b_open && !b_LeaveOpen) {
        co_Host.v_Close(p_document, 0);
    }
    co_Host.v_Release(p_document);
    return co_changed.empty()
               ? std::string()
               : s_HoldsTranslation(s_Target, s_Some(co_changed, "story differs from the document",
                                                     "stories differ from the document"));
}

// Copied beside the target under a temporary name first, so that no half-written backup
// ever stands under a backup's name.
std::string s_KeepBackup(const std::string& s_Target) {
    const std::string s_backup = CT_WorkCopy::ss_BackupPath(s_Target);
    const std::string s_partial = s_backup + ".partial";
    std::error_code co_error;
    fs::copy_file(s_Target, s_partial, fs::copy_options::overwrite_existing, co_error);
    if (!co_error) {
        fs::rename(s_partial, s_backup, co_error);
    }
    if (co_error) {
        std::error_code co_ignored;
        fs::remove(s_partial, co_ignored);
        v_Refuse("cannot keep " + s_Target + " in " + s_backup + ": " + co_error.message() +
                 "; nothing was exported");
    }
    return s_backup;
}
}  // namespace

bool CT_ExportTarget::sb_IsTaggedOrXliff(const std::string& s_Path) {
    const CT_FileKind::et_Kind eo_kind = CT_FileKind::seo_Guess(CT_FileKind::ss_ReadHead(s_Path));
    return eo_kind == CT_FileKind::e_Tagged || eo_kind == CT_FileKind::e_Xliff;
}

std::string CT_ExportTarget::ss_Check(CT_IdmlHost& co_Host, const std::string& s_Document,
                                      const std::string& s_Target, bool b_Force, bool b_Backup,
                                      bool b_LeaveOpen) {
    std::error_code co_error;
    const fs::file_status co_status = fs::status(s_Target, co_error);
    if (!fs::exists(co_status)) {
        return "";
    }
    if (fs::equivalent(s_Document, s_Target, co_error)) {
        v_Refuse(s_Target + " is the document " + s_Document +
                 " itself: an export never replaces its document");
    }
    if (fs::is_directory(co_status)) {
        v_Refuse(s_Target + " is a folder: give the path of the tagged story file to write");
    }
    // The file is written beside its target and put in its place in one step, which a pipe or
    // a device cannot take; and looking into one to see what it holds would wait without end.
    if (!fs::is_regular_file(co_status)) {
        v_Refuse(s_Target +
                 " is not a regular file (a pipe, a device or a socket): give the path of the "
                 "tagged story file to write");
    }
    if (fs::file_size(s_Target, co_error) == 0) {
        return "";
    }
    const CT_FileKind::et_Kind eo_kind = CT_FileKind::seo_Guess(CT_FileKind::ss_ReadHead(s_Target));
    std::string s_refusal;
    if (eo_kind == CT_FileKind::e_Xliff) {
        s_refusal = s_XliffRefusal(s_Target);
    } else if (eo_kind == CT_FileKind::e_Tagged) {
        s_refusal = s_TaggedRefusal(co_Host, s_Document, s_Target, b_LeaveOpen);
    } else {
        s_refusal = s_Target +
                    " exists and is not a tagged story or XLIFF file, so it was left as it is" +
                    kpc_Forced;
    }
    if (s_refusal.empty()) {
        return "";
    }
    if (!b_Force) {
        v_Refuse(s_refusal);
    }
    return b_Backup ? s_KeepBackup(s_Target) : std::string();
}

bool CT_ExportTarget::sb_KeepsBackup(const std::string& s_Target, const std::string& s_Backup) {
    // Compared where they lie: an XLIFF file runs to hundreds of megabytes.
    bool b_same = false;
    try {
        const CT_FileBytes co_target(s_Target);
        const CT_FileBytes co_backup(s_Backup);
        b_same = co_target.co_View() == co_backup.co_View();
    } catch (et_ErrorCode) {
        CT_Errors::v_ResetError();  // what cannot be read is not known to be the same: kept
    }
    if (!b_same) {
        return true;
    }
    std::error_code co_error;
    fs::remove(s_Backup, co_error);
    return static_cast<bool>(co_error);
}

void CT_ExportTarget::sv_MakeFolder(const std::string& s_Target) {
    const fs::path co_folder = fs::path(s_Target).parent_path();
    std::error_code co_error;
    if (co_folder.empty() || fs::is_directory(co_folder, co_error)) {
        return;
    }
    std::string s_why;
    if (fs::exists(fs::symlink_status(co_folder, co_error))) {
        s_why = "a file stands in its place";
    } else {
        fs::create_directories(co_folder, co_error);
        s_why = co_error ? co_error.message() : "";
    }
    if (!s_why.empty()) {
        v_Refuse("cannot make the folder " + co_folder.string() + " for " + s_Target + ": " +
                 s_why + "; nothing was exported");
    }
}
