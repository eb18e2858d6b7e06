#include "platform/host/memory/ct_memory_box_list.h"

void CT_MemoryBoxList::v_Generate(const std::string& s_Path,
                                  const std::vector<CT_MemoryBox>& co_Boxes,
                                  bool b_IgnorePasteBoard) {
    s_DocumentPath = s_Path;
    co_Keys.clear();
    for (const CT_MemoryBox& co_Box : co_Boxes) {
        if (b_IgnorePasteBoard && co_Box.b_OnPasteBoard) {
            continue;
        }
        co_Keys.push_back(co_Box.s_Key);
    }
    n_Cursor = 0;
}

bool CT_MemoryBoxList::b_Next() {
    if (n_Cursor < co_Keys.size()) {
        ++n_Cursor;
    }
    return b_HasCurrent();
}
