#include "operations/ct_document_path.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "operations/ct_work_copy.h"
#include "platform/common/ct_errors.h"

namespace fs = std::filesystem;

namespace {
[[noreturn]] void v_Refuse(const std::string& s_Text) {
    CT_Errors::v_ThrowError(e_FileOpen, CT_String(s_Text.c_str()));
}
}  // namespace

void CT_DocumentPath::sv_Check(const std::string& s_Path) {
    std::error_code co_error;
    const fs::file_status co_status = fs::status(s_Path, co_error);
    if (!fs::exists(co_status)) {
        v_Refuse("cannot open \"" + s_Path + "\": no such file");
    }
    if (fs::is_directory(co_status)) {
        v_Refuse("\"" + s_Path + "\" is a folder, not an IDML package");
    }
    if (!std::ifstream(s_Path, std::ios::binary)) {
        v_Refuse("cannot read \"" + s_Path + "\": " + std::strerror(errno));
    }
    CT_WorkCopy::sv_RemoveLeftovers(s_Path);
}
