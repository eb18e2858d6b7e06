#include "tools/ct_export_target.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/common/ct_errors.h"
#include "platform/host/ct_basic_interface.h"

namespace fs = std::filesystem;

namespace {
constexpr std::size_t gn_Head = 64 * 1024;

[[noreturn]] void v_Refuse(const std::string& s_Text) {
    CT_Errors::v_ThrowError(e_FileWrite, CT_String(s_Text.c_str()));
}

// Skips what may stand before the root element of an XML file: blanks, the declaration,
// processing instructions, comments and the document type.
std::size_t n_RootStart(const std::string& s_Head) {
    std::size_t n_at = s_Head.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (n_at < s_Head.size()) {
        n_at = s_Head.find_first_not_of(" \t\r\n", n_at);
        if (n_at == std::string::npos) {
            return s_Head.size();
        }
        const char* pc_end = s_Head.compare(n_at, 2, "<?") == 0          ? "?>"
                             : s_Head.compare(n_at, 4, "<!--") == 0      ? "-->"
                             : s_Head.compare(n_at, 9, "<!DOCTYPE") == 0 ? ">"
                                                                         : nullptr;
        if (pc_end == nullptr) {
            return n_at;
        }
        n_at = s_Head.find(pc_end, n_at + 2);
        n_at = n_at == std::string::npos ? s_Head.size() : n_at + std::string(pc_end).size();
    }
    return n_at;
}

bool b_IsXliff(const std::string& s_Head) {
    const std::size_t n_at = n_RootStart(s_Head);
    if (n_at >= s_Head.size() || s_Head[n_at] != '<') {
        return false;
    }
    const std::size_t n_end = s_Head.find_first_of(" \t\r\n/>", n_at);
    std::string s_name = s_Head.substr(n_at + 1, n_end == std::string::npos ? 0 : n_end - n_at - 1);
    s_name.erase(0, s_name.find(':') == std::string::npos ? 0 : s_name.find(':') + 1);
    return s_name == "xliff";
}
}  // namespace

bool CT_ExportTarget::sb_IsTaggedOrXliff(const std::string& s_Path) {
    std::ifstream co_file(s_Path, std::ios::binary);
    std::string s_head(gn_Head, '\0');
    co_file.read(s_head.data(), static_cast<std::streamsize>(s_head.size()));
    s_head.resize(static_cast<std::size_t>(co_file.gcount()));
    std::string s_version(CT_BasicInterface::co_GetOpenVersionTag().sv());
    s_version.erase(s_version.find_last_not_of("\r\n") + 1);
    return s_head.find(s_version) != std::string::npos || b_IsXliff(s_head);
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
    if (b_Force || fs::file_size(s_Target, co_error) == 0 || sb_IsTaggedOrXliff(s_Target)) {
        return;
    }
    v_Refuse(s_Target +
             " exists and is not a tagged story or XLIFF file: it was left as it is "
             "(export --force replaces it)");
}
