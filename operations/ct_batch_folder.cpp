#include "operations/ct_batch_folder.h"

#include <utility>

#include "batch/ct_batch.h"
#include "platform/host/idml/ct_idml_documents.h"

CT_BatchFolder::CT_BatchFolder(std::string s_Folder) : s_Folder(std::move(s_Folder)) {}

std::string CT_BatchFolder::s_OsPrefix() const {
    return !s_Folder.empty() && s_Folder.back() == '/' ? s_Folder : s_Folder + "/";
}

std::string CT_BatchFolder::s_OsPath(std::string_view co_RunnerPath) const {
    const std::string s_runner = s_RunnerPrefix();
    if (co_RunnerPath.compare(0, s_runner.size(), s_runner) != 0) {
        return std::string(co_RunnerPath);
    }
    return s_OsPrefix() + std::string(co_RunnerPath.substr(s_runner.size()));
}

void CT_BatchFolder::v_PlaceIn(const std::string& s_Document, const std::string& s_Subfolder) {
    if (!s_Subfolder.empty()) {
        co_Subfolders[CT_IdmlDocuments::s_Canonical(s_Document)] = s_Subfolder;
    }
}

const std::string& CT_BatchFolder::s_SubfolderOf(const std::string& s_Document) const {
    static const std::string s_none;
    // Most batches place nothing: no path need be resolved then.
    if (co_Subfolders.empty()) {
        return s_none;
    }
    const auto it_found = co_Subfolders.find(CT_IdmlDocuments::s_Canonical(s_Document));
    return it_found == co_Subfolders.end() ? s_none : it_found->second;
}

std::string CT_BatchFolder::s_FileOf(std::string_view co_RunnerPath,
                                     const std::string& s_Document) const {
    const std::string s_runner = s_RunnerPrefix();
    const std::string& s_subfolder = s_SubfolderOf(s_Document);
    if (s_subfolder.empty() || co_RunnerPath.compare(0, s_runner.size(), s_runner) != 0) {
        return s_OsPath(co_RunnerPath);
    }
    return s_OsPrefix() + s_subfolder + "/" + std::string(co_RunnerPath.substr(s_runner.size()));
}

std::string CT_BatchFolder::s_TaggedFileOf(const std::string& s_Document) const {
    return s_FileOf(sco_Batch.co_GetTaggedFile(CT_String(s_Document.c_str())).sv(), s_Document);
}
