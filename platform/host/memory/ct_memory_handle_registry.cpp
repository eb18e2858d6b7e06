#include "platform/host/memory/ct_memory_handle_registry.h"

void* CT_MemoryHandleRegistry::p_NewDocument(const std::string& s_Path) {
    auto pco_Handle = std::make_unique<CT_MemoryHandle>();
    pco_Handle->s_Path = s_Path;
    ++n_LiveDocument;
    return p_Add(std::move(pco_Handle));
}

void* CT_MemoryHandleRegistry::p_NewBox(const std::string& s_Path, const std::string& s_Key) {
    auto pco_Handle = std::make_unique<CT_MemoryHandle>();
    pco_Handle->b_IsBox = true;
    pco_Handle->s_Path = s_Path;
    pco_Handle->s_Key = s_Key;
    ++n_LiveBox;
    return p_Add(std::move(pco_Handle));
}

void* CT_MemoryHandleRegistry::p_Add(std::unique_ptr<CT_MemoryHandle> pco_Handle) {
    CT_MemoryHandle* pco_Raw = pco_Handle.get();
    co_Handles.push_back(std::move(pco_Handle));
    co_Known.insert(pco_Raw);
    return pco_Raw;
}

const CT_MemoryHandle* CT_MemoryHandleRegistry::pco_Find(const void* p_Handle) const {
    if (co_Known.count(p_Handle) == 0) {
        return nullptr;
    }
    return static_cast<const CT_MemoryHandle*>(p_Handle);
}

bool CT_MemoryHandleRegistry::b_Release(const void* p_Handle) {
    if (co_Known.count(p_Handle) == 0) {
        return false;
    }
    // Only the registry's own records reach this point, and it owns them non-const.
    auto* pco_Handle = static_cast<CT_MemoryHandle*>(const_cast<void*>(p_Handle));
    if (pco_Handle->b_Released) {
        ++n_DoubleRelease;
        return true;
    }
    pco_Handle->b_Released = true;
    --(pco_Handle->b_IsBox ? n_LiveBox : n_LiveDocument);
    return true;
}
