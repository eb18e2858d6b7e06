#include "operations/ct_batch_folder.h"

#include <utility>

#include "batch/ct_batch.h"

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

std::string CT_BatchFolder::s_TaggedFileOf(const std::string& s_Document) const {
    return s_OsPath(sco_Batch.co_GetTaggedFile(CT_String(s_Document.c_str())).sv());
}
