#include "platform/host/idml/ct_idml_documents.h"

#include <algorithm>
#include <filesystem>

#include "platform/common/ct_errors.h"
#include "platform/common/ct_files.h"

std::string CT_IdmlDocuments::s_Absolute(const std::string& s_Path) {
    std::error_code co_Error;
    std::filesystem::path co_Path = std::filesystem::absolute(s_Path, co_Error);
    return (co_Error ? std::filesystem::path(s_Path) : co_Path).lexically_normal().string();
}

std::string CT_IdmlDocuments::s_Canonical(const std::string& s_Path) {
    if (CT_Files::spco_ServedFromMemory(CT_String(s_Path)) != nullptr) {
        return s_Path;  // no file to resolve links for
    }
    std::error_code co_Error;
    std::filesystem::path co_Path = std::filesystem::weakly_canonical(s_Absolute(s_Path), co_Error);
    return co_Error ? s_Absolute(s_Path) : co_Path.string();
}

unsigned CT_IdmlDocuments::n_Find(const std::string& s_Path) const {
    const std::string s_Key = s_Canonical(s_Path);
    for (const auto& co_Entry : co_Open) {
        if (co_Entry.second.s_Key == s_Key) {
            return co_Entry.first;
        }
    }
    return 0;
}

unsigned CT_IdmlDocuments::n_Open(const std::string& s_Path,
                                  CT_IdmlDocument::CT_StoryReader co_Reader) {
    unsigned n_Serial = n_Find(s_Path);
    if (n_Serial == 0) {
        // The canonical path keeps the package valid when the working folder changes, and saving
        // through a symbolic link replaces the file it points to, not the link.
        std::string s_Key = s_Canonical(s_Path);
        auto pco_Document =
            std::make_unique<CT_IdmlDocument>(s_Key, std::move(co_Reader), n_Threads, co_Cancel);
        n_Serial = ++n_LastSerial;
        co_Open.emplace(n_Serial, CT_Entry{s_Key, s_Absolute(s_Path), std::move(pco_Document)});
    }
    v_Activate(n_Serial);
    return n_Serial;
}

void CT_IdmlDocuments::v_Activate(unsigned n_Serial) {
    co_Recent.erase(std::remove(co_Recent.begin(), co_Recent.end(), n_Serial), co_Recent.end());
    co_Recent.push_back(n_Serial);
}

CT_IdmlDocument& CT_IdmlDocuments::co_Live(unsigned n_Serial) const {
    auto co_Found = co_Open.find(n_Serial);
    if (co_Found == co_Open.end()) {
        CT_Errors::v_ThrowError(e_UnknownDocument, "the IDML document has been closed");
    }
    return *co_Found->second.pco_Document;
}

const std::string& CT_IdmlDocuments::s_ShownPath(unsigned n_Serial) const {
    co_Live(n_Serial);
    return co_Open.find(n_Serial)->second.s_Shown;
}

const std::string& CT_IdmlDocuments::s_FilePath(unsigned n_Serial) const {
    co_Live(n_Serial);
    return co_Open.find(n_Serial)->second.s_Key;
}

void CT_IdmlDocuments::v_Drop(unsigned n_Serial) {
    co_Open.erase(n_Serial);
    co_Recent.erase(std::remove(co_Recent.begin(), co_Recent.end(), n_Serial), co_Recent.end());
}
