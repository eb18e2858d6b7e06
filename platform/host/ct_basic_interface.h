// Texts of the host's tagged story files: version tags, extension, file-dialog filter. All
// forward to the installed backend (CT_Host).
#pragma once

#include "platform/common/ct_string.h"

class CT_BasicInterface {
  public:
    static CT_String co_GetOpenVersionTag();
    static CT_String co_GetCloseVersionTag();
    // The extension of tagged files, with its dot.
    static void v_GetTaggedExtension(CT_String& co_Extension);
    static const CT_String& scco_GetDtpTaggedFilter();
};
