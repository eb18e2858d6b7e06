#include "settings/ct_story_format_settings.h"

#include "platform/common/ct_res_string.h"
#include "platform/host/ct_basic_interface.h"
#include "resources/ct_library.h"

namespace {
const unsigned kn_QuarvelFilterMessage = 200;
}

CT_String CT_StoryFormatSettings::cco_GetTaggedFilter() const {
    if (eo_TaggedTextFormat == e_DtpTaggedText) {
        return CT_BasicInterface::scco_GetDtpTaggedFilter();
    }
    CT_ResString co_filter(CT_Library::sp_GetModule(), kn_QuarvelFilterMessage, "%");
    return co_filter.cco_Get();
}
