#include "operations/ct_export_target.h"

#include <filesystem>
#include <system_error>

#include "operations/ct_file_kind.h"
#include "platform/common/ct_errors.h"

namespace fs = std::filesystem;

namespace {
[[noreturn]] void v_Refuse(const std::string& s_Text) {
    CT_Errors::v_ThrowError(e_FileWrite, CT_String(s_Text.c_str()));
}
}  // namespace

bool CT_ExportTarget::sb_IsTaggedOrXliff(const std::string& s_Path) {
    const CT_FileKind::et_Kind eo_kind = CT_FileKind::seo_Guess(CT_FileKind::ss_ReadHead(s_Path));
    return eo_kind == CT_FileKind::e_Tagged || eo_kind == CT_FileKind::e_Xliff;
}

void CT_ExportTarget::sv_Check(const std::string& s_Document, const std::string& s_Target,
                               bool b_Force) {
    std::error_code co_error;
    const fs::file_status co_status = fs::status(s_Target, co_error);
    if (!fs::exists(co_status)) {
        return;
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
    if (b_Force || fs::file_size(s_Target, co_error) == 0 || sb_IsTaggedOrXliff(s_Target)) {
        return;
    }
    v_Refuse(s_Target +
             " exists and is not a tagged story or XLIFF file: it was left as it is "
             "(export --force replaces it)");
}
