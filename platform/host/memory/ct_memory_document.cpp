#include "platform/host/memory/ct_memory_document.h"

CT_MemoryDocument::CT_MemoryDocument(std::vector<CT_MemoryBox> co_Boxes)
    : co_BoxList(std::move(co_Boxes)) {}

CT_MemoryBox* CT_MemoryDocument::pco_Find(const std::string& s_Key) {
    const auto* pco_Const = static_cast<const CT_MemoryDocument*>(this)->pco_Find(s_Key);
    return const_cast<CT_MemoryBox*>(pco_Const);
}

const CT_MemoryBox* CT_MemoryDocument::pco_Find(const std::string& s_Key) const {
    for (int n_Try = 0; n_Try < 2; ++n_Try) {
        const auto co_It = co_Index.find(s_Key);
        if (co_It != co_Index.end() && co_It->second < co_BoxList.size() &&
            co_BoxList[co_It->second].s_Key == s_Key) {
            return &co_BoxList[co_It->second];
        }
        // The vector changed since the index was built: rebuild it once and look again.
        v_Reindex();
    }
    return nullptr;
}

void CT_MemoryDocument::v_Reindex() const {
    co_Index.clear();
    for (std::size_t n = 0; n < co_BoxList.size(); ++n) {
        co_Index.emplace(co_BoxList[n].s_Key, n);
    }
}
