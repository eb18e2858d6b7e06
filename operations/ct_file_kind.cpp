#include "operations/ct_file_kind.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/host/idml/ct_idml_host.h"

namespace {
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

// UTF-16 without a byte order mark still shows itself in text that is mostly ASCII: one byte
// of every pair is zero, always the same one. Other bytes with zeros in them are no text.
bool b_IsUtf16(const std::string& s_Head) {
    if (s_Head.compare(0, 2, "\xFF\xFE") == 0 || s_Head.compare(0, 2, "\xFE\xFF") == 0) {
        return true;
    }
    std::size_t an_zeros[2] = {0, 0};
    const std::size_t n_pairs = s_Head.size() / 2;
    for (std::size_t n = 0; n < n_pairs * 2; ++n) {
        an_zeros[n % 2] += s_Head[n] == '\0' ? 1 : 0;
    }
    const std::size_t n_more = std::max(an_zeros[0], an_zeros[1]);
    const std::size_t n_fewer = std::min(an_zeros[0], an_zeros[1]);
    return n_more * 2 >= n_pairs && n_fewer * 20 <= n_pairs;
}
}  // namespace

CT_FileKind::et_Kind CT_FileKind::seo_Guess(const std::string& s_Head) {
    if (s_Head.compare(0, 4, "PK\x03\x04") == 0 || s_Head.compare(0, 4, "PK\x05\x06") == 0) {
        return e_Zip;
    }
    if (s_Head.find('\0') != std::string::npos || s_Head.compare(0, 2, "\xFF\xFE") == 0 ||
        s_Head.compare(0, 2, "\xFE\xFF") == 0) {
        return b_IsUtf16(s_Head) ? e_Utf16 : e_Binary;
    }
    std::string s_version(CT_IdmlHost::spc_OpenTag);
    s_version.erase(s_version.find_last_not_of("\r\n") + 1);
    if (!s_version.empty() && s_Head.find(s_version) != std::string::npos) {
        return e_Tagged;
    }
    return b_IsXliff(s_Head) ? e_Xliff : e_Other;
}

const char* CT_FileKind::spc_Describe(et_Kind eo_Kind) {
    switch (eo_Kind) {
        case e_Zip:
            return "a zip archive (a document?)";
        case e_Tagged:
            return "a tagged story file";
        case e_Xliff:
            return "an XLIFF file";
        case e_Utf16:
            return "UTF-16 text";
        case e_Binary:
            return "not text";
        default:
            return nullptr;
    }
}

std::string CT_FileKind::ss_ReadHead(const std::string& s_Path) {
    // A pipe or a device is never read ahead: reading it would wait for a writer, or take what
    // another reader is owed.
    std::error_code co_error;
    if (!std::filesystem::is_regular_file(s_Path, co_error)) {
        return std::string();
    }
    std::ifstream co_file(s_Path, std::ios::binary);
    std::string s_head(sn_Head, '\0');
    co_file.read(s_head.data(), static_cast<std::streamsize>(s_head.size()));
    s_head.resize(static_cast<std::size_t>(co_file.gcount()));
    return s_head;
}
