#include "textbox/ct_text_box.h"

#include "platform/common/ct_error_code.h"
#include "platform/common/ct_module.h"
#include "platform/common/ct_res_string.h"
#include "platform/host/ct_box_interface.h"
#include "platform/host/ct_document_interface.h"
#include "resources/ct_library.h"
#include "textbox/ct_wide_text.h"

namespace {

constexpr unsigned kn_ContinueMark = 5;  // "..."
constexpr int ki_ContinueMarkCapacity = 6;

// Gives back a handle that was only compared, since the host hands out a new one per call.
class CT_ComparedBox {
  public:
    CT_ComparedBox() : p_Box(CT_DocumentInterface::p_GetCurrentBox()) {}
    ~CT_ComparedBox() {
        try {
            CT_BoxInterface::sv_ReleaseBox(p_Box);
        } catch (et_ErrorCode) {
        }
    }
    CT_ComparedBox(const CT_ComparedBox&) = delete;
    CT_ComparedBox& operator=(const CT_ComparedBox&) = delete;
    void* p_Get() const { return p_Box; }

  private:
    void* p_Box;
};

}  // namespace

CT_TextBox::CT_TextBox() = default;

CT_TextBox::CT_TextBox(void* p_HostBox) {
    try {
        v_Set(p_HostBox, 1);
    } catch (...) {
        v_ReleaseBox();
        throw;
    }
}

CT_TextBox::~CT_TextBox() {
    v_ReleaseBox();
}

void CT_TextBox::v_ReleaseBox() noexcept {
    if (p_Box == nullptr) {
        return;
    }
    try {
        CT_BoxInterface::sv_ReleaseBox(p_Box);
    } catch (et_ErrorCode) {
    }
    p_Box = nullptr;
}

void CT_TextBox::v_Set(void* p_HostBox, int b_Cached) {
    if (p_HostBox != p_Box) {
        v_ReleaseBox();
    }
    p_Box = p_HostBox;
    if (!b_Cached) {
        return;
    }
    v_CacheContent();
    v_CacheUContent();
    v_CacheVirtualPage();
    v_CacheKey();
    v_CachePosition();
}

void CT_TextBox::v_CacheContent() {
    if (CT_BoxInterface::sb_GetContent(co_Content, p_Box, sn_PreviewLimit, 1, 0)) {
        v_AddContinue(co_Content);
    }
}

void CT_TextBox::v_CacheUContent() {
    // Value-initialised, so both start as empty strings.
    puz_UContent.reset(new char16_t[sn_UContentCapacity]());
    puz_UListLabel.reset(new char16_t[sn_UListLabelCapacity]());
    if (CT_BoxInterface::sb_GetContent(puz_UContent.get(), p_Box, sn_PreviewLimit, 1, 0)) {
        v_AddContinue(puz_UContent.get(), sn_UContentCapacity);
    }
}

void CT_TextBox::v_CacheVirtualPage() {
    std::int32_t i_page = static_cast<std::int32_t>(CT_BoxInterface::sn_GetPage(p_Box));
    if (CT_BoxInterface::sb_IsOnMasterPage(p_Box)) {
        i_page = -(i_page + 1);
    }
    if (CT_BoxInterface::sb_IsOnPasteBoard(p_Box)) {
        i_page = 0;
    }
    i_VirtualPage = i_page;
}

void CT_TextBox::v_CacheKey() {
    co_Key = CT_BoxInterface::sco_GetKey(p_Box);
}

void CT_TextBox::v_CachePosition() {
    CT_BoxInterface::sv_GetPosition(p_Box, co_Position);
}

void CT_TextBox::v_AddContinue(CT_String& co_Text) {
    CT_ResString co_buffer(CT_Library::sp_GetModule(), kn_ContinueMark, "%");
    co_Text += co_buffer.cco_Get();
}

void CT_TextBox::v_AddContinue(char16_t* puz_Text, std::size_t n_Capacity) {
    char16_t auz_mark[ki_ContinueMarkCapacity] = {};
    CT_Module::si_LoadWideString(CT_Library::sp_GetModule(), kn_ContinueMark, auz_mark,
                                 ki_ContinueMarkCapacity);
    CT_WideText::sv_Append(puz_Text, n_Capacity, auz_mark);
}

int CT_TextBox::i_GetPage() const {
    if (b_IsOnMasterPage()) {
        return -1;
    }
    return b_IsOnPasteBoard() ? 0 : i_VirtualPage;
}

int CT_TextBox::operator==(const CT_TextBox& co_Other) const {
    return CT_BoxInterface::sb_IsEqual(p_Box, co_Other.p_Box);
}

int CT_TextBox::b_Exist() const {
    if (CT_DocumentInterface::b_IsBoxListEmpty()) {
        return 0;
    }
    CT_DocumentInterface::v_ResetBoxList();
    do {
        CT_ComparedBox co_listed;
        if (CT_BoxInterface::sb_IsEqual(co_listed.p_Get(), p_Box)) {
            return 1;
        }
    } while (CT_DocumentInterface::b_NextTextBox());
    return 0;
}

void CT_TextBox::v_Display() const {
    CT_BoxInterface::sv_DisplayBox(p_Box);
}

void CT_TextBox::v_GetText(CT_String& co_Text, int b_Cached) const {
    if (b_Cached) {
        co_Text = co_Content;
        return;
    }
    if (CT_BoxInterface::sb_GetContent(co_Text, p_Box, sn_TextLimit, 0, 0)) {
        v_AddContinue(co_Text);
    }
}

void CT_TextBox::v_GetText(CT_String& co_Text, char16_t* puz_Text, int b_Cached) const {
    v_GetText(co_Text, b_Cached);
    if (b_Cached) {
        return;
    }
    if (CT_BoxInterface::sb_GetContent(puz_Text, p_Box, sn_TextLimit, 0, 0)) {
        v_AddContinue(puz_Text, sn_UTextCapacity);
    }
}

int CT_TextBox::b_CompareTopDown(CT_TextBox* pco_Other) {
    if (i_VirtualPage != pco_Other->i_VirtualPage) {
        return i_VirtualPage > pco_Other->i_VirtualPage;
    }
    if (b_IsEqual(co_Position.y, pco_Other->co_Position.y)) {
        return co_Position.x > pco_Other->co_Position.x;
    }
    return co_Position.y > pco_Other->co_Position.y;
}

int CT_TextBox::b_CompareLeftRight(CT_TextBox* pco_Other) {
    if (i_VirtualPage != pco_Other->i_VirtualPage) {
        return i_VirtualPage > pco_Other->i_VirtualPage;
    }
    if (b_IsEqual(co_Position.x, pco_Other->co_Position.x)) {
        return co_Position.y > pco_Other->co_Position.y;
    }
    return co_Position.x > pco_Other->co_Position.x;
}
