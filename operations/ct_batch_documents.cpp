#include "operations/ct_batch_documents.h"

#include <fnmatch.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/common/ct_errors.h"

namespace fs = std::filesystem;

namespace {
// Any case of the extension: packages saved on other systems are often named .IDML.
const char* const gpc_DefaultInclude = "*.[iI][dD][mM][lL]";

[[noreturn]] void v_Refuse(const std::string& s_Text) {
    CT_Errors::v_ThrowError(e_FileOpen, CT_String(s_Text.c_str()));
}

// A pattern with a slash is matched against the path below the named folder, as a shell
// matches a glob (a star stays within one folder); any other against the name alone.
bool b_Matches(const std::vector<std::string>& co_Patterns, const std::string& s_Name,
               const std::string& s_Relative) {
    return std::any_of(co_Patterns.begin(), co_Patterns.end(), [&](const std::string& s_Pattern) {
        const bool b_path = s_Pattern.find('/') != std::string::npos;
        return ::fnmatch(s_Pattern.c_str(), (b_path ? s_Relative : s_Name).c_str(),
                         b_path ? FNM_PATHNAME : 0) == 0;
    });
}

std::string s_Join(const std::string& s_Folder, const std::string& s_Relative) {
    return !s_Folder.empty() && s_Folder.back() == '/' ? s_Folder + s_Relative
                                                       : s_Folder + "/" + s_Relative;
}

std::string s_Parent(const std::string& s_Relative) {
    const std::size_t n_slash = s_Relative.rfind('/');
    return n_slash == std::string::npos ? std::string() : s_Relative.substr(0, n_slash);
}
}  // namespace

std::vector<CT_BatchDocuments::CT_Entry> CT_BatchDocuments::sco_Find(
    const CT_CommandOptions& co_Options, std::istream& co_StandardInput) {
    std::vector<CT_Entry> co_found;
    for (const std::string& s_named : co_Options.co_Documents) {
        std::error_code co_error;
        if (fs::is_directory(s_named, co_error)) {
            sv_Search(s_named, co_Options, co_found);
        } else {
            co_found.push_back({s_named, ""});
        }
    }
    const std::string& s_list = co_Options.s_FilesFrom;
    if (s_list == "-") {
        sv_ReadList(co_StandardInput, "standard input", co_found);
    } else if (!s_list.empty()) {
        std::ifstream co_file(s_list, std::ios::binary);
        if (!co_file) {
            v_Refuse("cannot read the list of documents \"" + s_list +
                     "\": " + std::strerror(errno));
        }
        sv_ReadList(co_file, s_list, co_found);
    }
    return co_found;
}

// Folder by folder rather than with a recursive iterator, so that an excluded folder is never
// entered and one that cannot be read is named.
void CT_BatchDocuments::sv_Search(const std::string& s_Folder, const CT_CommandOptions& co_Options,
                                  std::vector<CT_Entry>& co_Found) {
    const std::vector<std::string> co_include = co_Options.co_Include.empty()
                                                    ? std::vector<std::string>{gpc_DefaultInclude}
                                                    : co_Options.co_Include;
    std::vector<std::string> co_documents;
    std::vector<std::string> co_pending = {""};
    while (!co_pending.empty()) {
        const std::string s_below = co_pending.back();
        co_pending.pop_back();
        const std::string s_path = s_below.empty() ? s_Folder : s_Join(s_Folder, s_below);
        std::error_code co_error;
        fs::directory_iterator it_entry(s_path, co_error);
        for (; !co_error && it_entry != fs::directory_iterator(); it_entry.increment(co_error)) {
            const std::string s_name = it_entry->path().filename().string();
            const std::string s_relative = s_below.empty() ? s_name : s_below + "/" + s_name;
            // Hidden entries are left out: among them the folders where runs keep their
            // working copies.
            if (s_name.empty() || s_name[0] == '.' ||
                b_Matches(co_Options.co_Exclude, s_name, s_relative)) {
                continue;
            }
            std::error_code co_kind;
            if (it_entry->is_symlink(co_kind) && fs::is_directory(it_entry->path(), co_kind)) {
                continue;
            }
            if (it_entry->is_directory(co_kind)) {
                if (co_Options.b_Recursive) {
                    co_pending.push_back(s_relative);
                }
            } else if (b_Matches(co_include, s_name, s_relative)) {
                co_documents.push_back(s_relative);
            }
        }
        if (co_error) {
            v_Refuse("cannot read the folder \"" + s_path + "\": " + co_error.message());
        }
    }
    std::sort(co_documents.begin(), co_documents.end());
    for (const std::string& s_relative : co_documents) {
        co_Found.push_back({s_Join(s_Folder, s_relative), s_Parent(s_relative)});
    }
}

void CT_BatchDocuments::sv_ReadList(std::istream& co_List, const std::string& s_Name,
                                    std::vector<CT_Entry>& co_Found) {
    std::string s_line;
    for (unsigned long n_line = 1; std::getline(co_List, s_line); ++n_line) {
        // A list written on Windows ends its lines with CR LF.
        if (!s_line.empty() && s_line.back() == '\r') {
            s_line.pop_back();
        }
        if (s_line.empty()) {
            continue;
        }
        const std::string s_where = s_Name + ", line " + std::to_string(n_line) + ": ";
        if (s_line.find('\0') != std::string::npos) {
            v_Refuse(s_where + "a path holds a NUL byte; give one path a line");
        }
        const fs::path co_relative = fs::path(s_line).relative_path().lexically_normal();
        std::string s_folder = co_relative.parent_path().string();
        for (const fs::path& co_part : co_relative) {
            if (co_part == "..") {
                v_Refuse(s_where + s_line +
                         " climbs out of its folder with \"..\", so its file would land "
                         "outside the batch folder; list it from a folder above it");
            }
        }
        if (s_folder == ".") {
            s_folder.clear();
        }
        co_Found.push_back({s_line, s_folder});
    }
    if (co_List.bad()) {
        v_Refuse("cannot read the list of documents \"" + s_Name + "\"");
    }
}
