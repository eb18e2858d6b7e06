#include "operations/ct_xliff_import.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "exchange/ct_tagged_file.h"
#include "exchange/ct_xliff_reader.h"
#include "operations/ct_file_kind.h"
#include "operations/ct_session.h"
#include "platform/common/ct_errors.h"
#include "platform/common/ct_files.h"
#include "platform/host/idml/ct_idml_host.h"

namespace {
[[noreturn]] void v_Refuse(const std::string& s_File, const std::string& s_What) {
    CT_Errors::v_ThrowError(e_BadContent, CT_String((s_File + ": " + s_What).c_str()));
}

std::string s_ReadAll(const std::string& s_File) {
    std::ifstream co_in(s_File, std::ios::binary);
    if (!co_in) {
        CT_Errors::v_ThrowError(
            e_FileOpen,
            CT_String(("cannot open \"" + s_File + "\": " + std::strerror(errno)).c_str()));
    }
    co_in.seekg(0, std::ios::end);
    const std::streamoff n_size = co_in.tellg();
    if (n_size < 0) {
        // A pipe has no size and is read as it comes.
        co_in.clear();
        std::string s_all((std::istreambuf_iterator<char>(co_in)),
                          std::istreambuf_iterator<char>());
        if (co_in.bad()) {
            CT_Errors::v_ThrowError(e_FileRead, CT_String(("cannot read " + s_File).c_str()));
        }
        return s_all;
    }
    std::string s_all(static_cast<std::size_t>(n_size), '\0');
    co_in.seekg(0);
    if (!co_in.read(s_all.data(), static_cast<std::streamsize>(s_all.size()))) {
        CT_Errors::v_ThrowError(e_FileRead, CT_String(("cannot read " + s_File).c_str()));
    }
    return s_all;
}

std::string s_UntranslatedLine(const std::string& s_File, const std::vector<std::string>& co_Ids) {
    std::string s_line = std::to_string(co_Ids.size()) +
                         (co_Ids.size() == 1 ? " unit of " : " units of ") + s_File +
                         (co_Ids.size() == 1 ? " is" : " are") + " not translated: ";
    const std::size_t n_shown = std::min<std::size_t>(co_Ids.size(), 10);
    for (std::size_t n = 0; n < n_shown; ++n) {
        s_line += (n == 0 ? "" : ", ") + co_Ids[n];
    }
    if (co_Ids.size() > n_shown) {
        s_line += " and " + std::to_string(co_Ids.size() - n_shown) + " more";
    }
    return s_line;
}

// The document's name without extension, as the tagged file's own name check wants it.
std::string s_Stem(const std::string& s_Original, const std::string& s_File) {
    const std::string s_name =
        std::filesystem::path(s_Original.empty() ? s_File : s_Original).filename().string();
    const std::string s_stem = std::filesystem::path(s_name).stem().string();
    return s_stem.empty() || s_stem == "." || s_stem == ".." ? "translation" : s_stem;
}
}  // namespace

CT_XliffImport::CT_XliffImport(CT_Session& co_Session, const std::string& s_File)
    : s_Tagged(s_File) {
    const CT_CommandOptions& co_options = co_Session.co_GetOptions();
    if (!CT_Session::sb_IsXliff(co_options, s_File)) {
        return;
    }
    const std::string s_bytes = s_ReadAll(s_File);
    const CT_FileKind::et_Kind eo_kind =
        CT_FileKind::seo_Guess(s_bytes.substr(0, CT_FileKind::sn_Head));
    const char* pc_after =
        eo_kind == CT_FileKind::e_Zip      ? ", not an XLIFF file"
        : eo_kind == CT_FileKind::e_Binary ? " (it holds zero bytes), not an XLIFF file"
        : eo_kind == CT_FileKind::e_Tagged ? ", not an XLIFF file: give --format tagged to read it"
                                           : nullptr;
    if (pc_after != nullptr) {
        v_Refuse(s_File, CT_FileKind::spc_Describe(eo_kind) + std::string(pc_after));
    }
    std::string s_tagged;
    std::string s_original;
    try {
        const CT_XliffReader co_reader(s_bytes);
        if (!co_reader.cco_Untranslated().empty()) {
            const std::string s_line = s_UntranslatedLine(s_File, co_reader.cco_Untranslated());
            if (co_options.b_RequireTranslated) {
                v_Refuse(s_File,
                         "--require-translated: " + s_line.substr(s_line.find("not translated")));
            }
            co_Session.v_LogLine("Warning: " + s_line);
        }
        s_tagged = CT_TaggedStoryFile::s_Write(co_reader.cco_Stories(), CT_IdmlHost::spc_OpenTag,
                                               CT_IdmlHost::spc_CloseTag);
        s_original = co_reader.cco_Original();
    } catch (const CT_XliffReader::CT_Refusal& co_refusal) {
        v_Refuse(s_File, co_refusal.what());
    }
    std::string s_template =
        (std::filesystem::temp_directory_path() / "storyport-xliff-XXXXXX").string();
    if (mkdtemp(s_template.data()) == nullptr) {
        CT_Errors::v_ThrowError(e_FileWrite, CT_String("cannot make a temporary folder"));
    }
    s_Folder = s_template;
    s_Tagged = s_Folder + "/" + s_Stem(s_original, s_File) + CT_IdmlHost::spc_Extension;
    CT_Files co_file;
    co_file.v_Open(CT_String(s_Tagged.c_str()), e_OpenWrite, 0);
    co_file.v_Write(s_tagged.data(), s_tagged.size());
    co_file.v_Close();
}

CT_XliffImport::~CT_XliffImport() {
    if (!s_Folder.empty()) {
        std::error_code co_ignored;
        std::filesystem::remove_all(s_Folder, co_ignored);
    }
}
