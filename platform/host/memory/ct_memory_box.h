// One text box of the memory host, as a test describes it. Plain data, copied freely: saving
// a document copies its boxes, opening it copies them back.
#pragma once

#include <string>

struct CT_MemoryBox {
    std::string s_Key;
    unsigned n_Page = 1;  // document page from 1, or index in the master spread from 0
    bool b_OnMasterPage = false;
    bool b_OnPasteBoard = false;
    std::string s_SpreadName;  // the master spread's name for boxes on master pages
    int i_X = 0;
    int i_Y = 0;
    std::string s_Content;  // UTF-8; written to and read from tagged files as it is
};
