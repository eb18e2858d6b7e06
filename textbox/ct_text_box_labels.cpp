// The story-list labels of one box: a running number and the cached preview.
#include "platform/common/ct_module.h"
#include "platform/common/ct_res_string.h"
#include "resources/ct_library.h"
#include "textbox/ct_text_box.h"
#include "textbox/ct_wide_text.h"

namespace {

constexpr unsigned kn_StoryLabel = 4;      // "Story %: "
constexpr unsigned kn_WideStoryLabel = 6;  // "Story %d: "

}  // namespace

void CT_TextBox::v_SetListLabel(unsigned n_Index) {
    CT_ResString co_template(CT_Library::sp_GetModule(), kn_StoryLabel, "%");
    co_ListLabel = co_template.cco_Get(n_Index + 1) + co_Content;
}

void CT_TextBox::v_SetUListLabel(unsigned n_Index) {
    if (puz_UListLabel == nullptr) {
        return;
    }
    char16_t auz_format[sn_UListLabelCapacity] = {};
    CT_Module::si_LoadWideString(CT_Library::sp_GetModule(), kn_WideStoryLabel, auz_format,
                                 static_cast<int>(sn_UListLabelCapacity));
    CT_WideText::sv_FormatNumber(puz_UListLabel.get(), sn_UListLabelCapacity, auz_format,
                                 static_cast<long long>(n_Index) + 1);
    CT_WideText::sv_Append(puz_UListLabel.get(), sn_UListLabelCapacity, puz_UContent.get());
}

const char16_t* CT_TextBox::qcuz_GetUListLabel() const {
    return puz_UListLabel == nullptr ? u"" : puz_UListLabel.get();
}
