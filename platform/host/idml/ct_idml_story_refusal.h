// Refuses translated content: raises e_BadContent with a text that names the story's key and
// what is wrong, e.g. "story u1a3: code <x4/> is missing".
#pragma once

#include <string>

#include "platform/common/ct_string.h"

class CT_IdmlStoryRefusal {
  public:
    [[noreturn]] static void sv_Refuse(const CT_String& co_Key, const std::string& co_Reason);
};
