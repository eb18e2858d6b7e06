// The memory host's documents: saved files by path, and the documents open on them, each a
// live copy of its saved state. The workspace remembers the order in which open documents were
// active, so that closing the active one gives the most recently active other one back.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/host/memory/ct_memory_box.h"
#include "platform/host/memory/ct_memory_document.h"

class CT_MemoryWorkspace {
  public:
    // Replaces any saved document at the path. Raises e_BadDocument when two boxes share a key.
    void v_Put(const std::string& s_Path, const std::vector<CT_MemoryBox>& co_Boxes);
    bool b_HasSaved(const std::string& s_Path) const;
    // Raises e_BadDocument naming the path when nothing is saved there.
    const std::vector<CT_MemoryBox>& co_Saved(const std::string& s_Path) const;

    // Opens the saved document unless it is open already, and makes it active. Raises
    // e_BadDocument naming the path when nothing is saved there.
    void v_Open(const std::string& s_Path);
    bool b_IsOpen(const std::string& s_Path) const;
    // Which opening of the document at the path is live: a number never given to an earlier
    // opening, or 0 when the document is not open.
    unsigned n_Opening(const std::string& s_Path) const;
    // Raises e_UnknownDocument when the document is not open.
    void v_Activate(const std::string& s_Path);
    // The active document's path, or null when no document is open.
    const std::string* ps_Active() const;
    // Raises e_UnknownDocument when the document is not open.
    CT_MemoryDocument& co_Open(const std::string& s_Path);
    const CT_MemoryDocument& co_Open(const std::string& s_Path) const;

    // Copies the live state over the saved one.
    void v_Save(const std::string& s_Path);
    // Drops the live copy; the most recently active other document becomes active.
    void v_Discard(const std::string& s_Path);

  private:
    std::map<std::string, std::vector<CT_MemoryBox>> co_SavedDocuments;
    std::map<std::string, CT_MemoryDocument> co_OpenDocuments;
    std::vector<std::string> co_ActiveOrder;  // open documents, the active one last
    std::map<std::string, unsigned> co_Openings;
    unsigned n_LastOpening = 0;
};
