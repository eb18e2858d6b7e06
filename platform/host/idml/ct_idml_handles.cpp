#include "platform/host/idml/ct_idml_handles.h"

#include "platform/common/ct_errors.h"

namespace {

template <typename T>
const T& cco_Find(const CT_HandleRegistry<T>& co_Registry, void* p_Handle, const char* pc_Kind) {
    const T* pco_Handle = co_Registry.pco_Find(p_Handle);
    if (pco_Handle == nullptr) {
        const char* pc_Why = co_Registry.b_WasReleased(p_Handle) ? " used after its release"
                                                                 : " not given out by this host";
        CT_Errors::v_ThrowError(e_UnknownDocument,
                                CT_String((std::string(pc_Kind) + " handle" + pc_Why).c_str()));
    }
    return *pco_Handle;
}

}  // namespace

// Asked for every box of a document: a lookup first, as an emplace makes (and copies the path
// into) a node before it finds the file known.
unsigned CT_IdmlHandles::n_FileOf(const std::string& s_File) {
    const auto co_known = co_Files.find(s_File);
    if (co_known != co_Files.end()) {
        return co_known->second;
    }
    return co_Files.emplace(s_File, static_cast<unsigned>(co_Files.size() + 1)).first->second;
}

void* CT_IdmlHandles::p_NewDocument(unsigned n_Serial, const std::string& s_File,
                                    const std::string& s_Path, unsigned n_Restore) {
    return co_Documents.p_Add(CT_IdmlDocumentHandle{n_Serial, n_FileOf(s_File), s_Path, n_Restore});
}

void* CT_IdmlHandles::p_NewBox(unsigned n_Serial, const std::string& s_File,
                               const CT_IdmlBox& co_Box) {
    auto co_Identity = co_BoxIdentities.try_emplace(std::make_pair(n_FileOf(s_File), co_Box.s_Key),
                                                    co_BoxIdentities.size() + 1);
    return co_Boxes.p_Add(CT_IdmlBoxHandle{n_Serial, co_Identity.first->second, co_Box});
}

const CT_IdmlDocumentHandle& CT_IdmlHandles::cco_Document(void* p_Handle) const {
    return cco_Find(co_Documents, p_Handle, "document");
}

const CT_IdmlBoxHandle& CT_IdmlHandles::cco_Box(void* p_Handle) const {
    return cco_Find(co_Boxes, p_Handle, "box");
}
