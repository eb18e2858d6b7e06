#include "platform/host/idml/ct_idml_handles.h"

#include "platform/common/ct_errors.h"

namespace {

template <typename T>
const T& cco_Find(const std::unordered_map<const void*, std::unique_ptr<T>>& co_Map, void* p_Handle,
                  const char* pc_Kind) {
    auto co_Found = co_Map.find(p_Handle);
    if (co_Found == co_Map.end()) {
        CT_Errors::v_ThrowError(e_UnknownDocument, CT_String((std::string("not a ") + pc_Kind +
                                                              " handle of the "
                                                              "IDML host")
                                                                 .c_str()));
    }
    return *co_Found->second;
}

template <typename T>
void v_Erase(std::unordered_map<const void*, std::unique_ptr<T>>& co_Map, void*& p_Handle,
             int& n_Bad) {
    if (p_Handle == nullptr) {
        return;
    }
    if (co_Map.erase(p_Handle) == 0) {
        ++n_Bad;
    }
    p_Handle = nullptr;
}

}  // namespace

void* CT_IdmlHandles::p_NewDocument(unsigned n_Serial, const std::string& s_Path) {
    auto pco_Handle =
        std::make_unique<CT_IdmlDocumentHandle>(CT_IdmlDocumentHandle{n_Serial, s_Path});
    void* p_Handle = pco_Handle.get();
    co_Documents.emplace(p_Handle, std::move(pco_Handle));
    return p_Handle;
}

void* CT_IdmlHandles::p_NewBox(unsigned n_Serial, const CT_IdmlBox& co_Box) {
    auto pco_Handle = std::make_unique<CT_IdmlBoxHandle>(CT_IdmlBoxHandle{n_Serial, co_Box});
    void* p_Handle = pco_Handle.get();
    co_Boxes.emplace(p_Handle, std::move(pco_Handle));
    return p_Handle;
}

const CT_IdmlDocumentHandle& CT_IdmlHandles::cco_Document(void* p_Handle) const {
    return cco_Find(co_Documents, p_Handle, "document");
}

const CT_IdmlBoxHandle& CT_IdmlHandles::cco_Box(void* p_Handle) const {
    return cco_Find(co_Boxes, p_Handle, "box");
}

void CT_IdmlHandles::v_ReleaseDocument(void*& p_Handle) {
    v_Erase(co_Documents, p_Handle, n_Bad);
}

void CT_IdmlHandles::v_ReleaseBox(void*& p_Handle) {
    v_Erase(co_Boxes, p_Handle, n_Bad);
}
