// Which tagged text format an export writes, and the file-dialog filter that goes with it. A
// plain value type: copies are independent.
#pragma once

#include "platform/common/ct_string.h"

class CT_StoryFormatSettings {
  public:
    enum et_TaggedTextFormat : int {
        e_DtpTaggedText = 0,     // the host's own tagged text, written straight to the target
        e_QuarvelTaggedText = 1  // the translation tool's format, converted from a work file
    };

    CT_StoryFormatSettings() = default;

    et_TaggedTextFormat eo_GetTaggedTextFormat() const { return eo_TaggedTextFormat; }
    void v_SetTaggedTextFormat(et_TaggedTextFormat eo_Format) { eo_TaggedTextFormat = eo_Format; }

    // The host's filter for its own tagged text; for every other value the translation tool's
    // filter from the string table. Errors of the host or the string table pass to the caller.
    CT_String cco_GetTaggedFilter() const;

  private:
    et_TaggedTextFormat eo_TaggedTextFormat = e_DtpTaggedText;
};
