// Where one story of an IDML document is shown: an entry of the host's box list, taken from the
// first frame of the story's thread. A plain value, copied into every box handle.
#pragma once

#include <string>

#include "platform/common/ct_point.h"

struct CT_IdmlBox {
    std::string s_Key;  // the story's Self id
    // Document page from 1, or the page's index in its master spread from 0; 0 on the pasteboard.
    unsigned n_Page = 0;
    bool b_OnMasterPage = false;
    bool b_OnPasteBoard = false;
    std::string s_SpreadName;    // the master spread's Name, for boxes on master pages
    tagPOINT co_Position{0, 0};  // top-left corner in spread coordinates, whole points
    std::string s_Layer;         // the layer of the frame that shows it; empty for none
    std::string s_LeftOut;       // why it does not go to the translator; empty when it goes
};
