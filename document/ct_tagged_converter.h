// The conversion of a complete tagged story file into the translation tool's format, the last
// step of an export in that format. The user-interface layer makes a converter and installs
// it; the kernel only calls the one installed and never owns or deletes it.
#pragma once

#include "platform/common/ct_string.h"

class CT_TaggedConverter {
  public:
    virtual ~CT_TaggedConverter() = default;

    // Reads the tagged story file at co_TaggedPath, written just now from the document whose
    // file name is co_DocumentName, and writes the file at co_TargetPath. Returns 0 when the
    // target is complete, nonzero when the user cancelled; either way the tagged file is left
    // for the caller to delete. A cancelled or failed conversion leaves whatever stood at the
    // target untouched. Failures raise an et_ErrorCode through CT_Errors.
    virtual int b_Convert(const CT_String& co_TaggedPath, const CT_String& co_TargetPath,
                          const CT_String& co_DocumentName) = 0;

    // Installs the converter that exports in the translation tool's format use; null removes
    // it. The converter must outlive its installation.
    static void sv_Install(CT_TaggedConverter* pco_Converter);
    // The installed converter, or null.
    static CT_TaggedConverter* spco_Get();
};
