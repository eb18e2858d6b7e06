// The live boxes of one open document of the memory host, found by key. Tests change the box
// vector directly, so the key index is only a hint that every lookup verifies.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/host/memory/ct_memory_box.h"

class CT_MemoryDocument {
  public:
    explicit CT_MemoryDocument(std::vector<CT_MemoryBox> co_Boxes);

    std::vector<CT_MemoryBox>& co_Boxes() { return co_BoxList; }
    const std::vector<CT_MemoryBox>& co_Boxes() const { return co_BoxList; }
    // The box with the key, or null when the document has none.
    CT_MemoryBox* pco_Find(const std::string& s_Key);
    const CT_MemoryBox* pco_Find(const std::string& s_Key) const;

  private:
    void v_Reindex() const;

    std::vector<CT_MemoryBox> co_BoxList;
    mutable std::unordered_map<std::string, std::size_t> co_Index;
};
