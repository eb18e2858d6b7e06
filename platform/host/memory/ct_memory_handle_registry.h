// The handles the memory host gives out. A handle names a document by path, or a box by its
// document's path and key, so it never points into data that tests may change. The registry
// owns every handle record until it is destroyed, so that a second release of a handle is
// counted instead of touching freed memory.
#pragma once

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

struct CT_MemoryHandle {
    bool b_IsBox = false;
    std::string s_Path;
    std::string s_Key;  // empty for a document handle
    bool b_Released = false;
};

class CT_MemoryHandleRegistry {
  public:
    void* p_NewDocument(const std::string& s_Path);
    void* p_NewBox(const std::string& s_Path, const std::string& s_Key);

    // The record behind the pointer, or null when this registry never gave the pointer out.
    const CT_MemoryHandle* pco_Find(const void* p_Handle) const;

    // Marks the handle released. A second release is counted, not an error. Returns false when
    // the pointer is not a handle of this registry.
    bool b_Release(const void* p_Handle);

    int n_LiveBoxes() const { return n_LiveBox; }
    int n_LiveDocuments() const { return n_LiveDocument; }
    int n_DoubleReleases() const { return n_DoubleRelease; }

  private:
    void* p_Add(std::unique_ptr<CT_MemoryHandle> pco_Handle);

    std::vector<std::unique_ptr<CT_MemoryHandle>> co_Handles;
    std::unordered_set<const void*> co_Known;
    int n_LiveBox = 0;
    int n_LiveDocument = 0;
    int n_DoubleRelease = 0;
};
