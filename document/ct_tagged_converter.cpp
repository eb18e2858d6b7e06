#include "document/ct_tagged_converter.h"

namespace {
CT_TaggedConverter* pco_Installed = nullptr;
}

void CT_TaggedConverter::sv_Install(CT_TaggedConverter* pco_Converter) {
    pco_Installed = pco_Converter;
}

CT_TaggedConverter* CT_TaggedConverter::spco_Get() {
    return pco_Installed;
}
