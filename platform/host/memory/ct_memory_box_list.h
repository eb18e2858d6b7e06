// The memory host's list of text boxes: a snapshot of the keys of one document's boxes, in
// their stored order, with one cursor. Later changes of the document do not change the list;
// it holds keys, never pointers into the document.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/host/memory/ct_memory_box.h"

class CT_MemoryBoxList {
  public:
    // Takes the boxes' keys, leaving out pasteboard boxes when asked to, and puts the cursor on
    // the first one.
    void v_Generate(const std::string& s_Path, const std::vector<CT_MemoryBox>& co_Boxes,
                    bool b_IgnorePasteBoard);
    bool b_IsEmpty() const { return co_Keys.empty(); }
    void v_Reset() { n_Cursor = 0; }
    // False when the cursor has moved past the last box (or the list is empty).
    bool b_HasCurrent() const { return n_Cursor < co_Keys.size(); }
    // REQUIRES: b_HasCurrent()
    const std::string& s_CurrentKey() const { return co_Keys[n_Cursor]; }
    const std::string& s_Path() const { return s_DocumentPath; }
    // Moves to the next box; false when there is none.
    bool b_Next();

  private:
    std::string s_DocumentPath;
    std::vector<std::string> co_Keys;
    std::size_t n_Cursor = 0;
};
