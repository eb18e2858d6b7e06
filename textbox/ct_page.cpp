#include "textbox/ct_page.h"

#include "platform/host/ct_document_interface.h"
#include "resources/ct_library.h"
#include "textbox/ct_text_box.h"

namespace {

constexpr unsigned kn_NoLabel = 0;
constexpr unsigned kn_PageLabel = 1;         // "Page %"
constexpr unsigned kn_PasteBoardLabel = 2;   // "Pasteboard"
constexpr unsigned kn_MasterPagesLabel = 3;  // "Master Pages"

}  // namespace

CT_Page::CT_Page(int i_ThePage)
    : i_Page(i_ThePage), co_Label(CT_Library::sp_GetModule(), kn_NoLabel, "%") {}

CT_String CT_Page::sco_PrintedLabel(const char* pc_Name) {
    return CT_ResString(CT_Library::sp_GetModule(), kn_PageLabel, "%").cco_Get(pc_Name);
}

int CT_Page::b_IsOnThisPage(CT_TextBox* pco_Box) const {
    return i_Page == pco_Box->i_GetPage();
}

void CT_Page::v_Display() const {
    if (i_Page == si_MasterPages) {
        CT_DocumentInterface::v_GotoMasterPage();
        return;
    }
    if (i_Page == si_PasteBoard) {
        CT_DocumentInterface::v_GotoPasteBoard();
        return;
    }
    CT_DocumentInterface::v_GotoThePage(i_Page);
}

void CT_Page::v_SetListLabel(unsigned /*n_Unused*/) {
    if (i_Page == si_MasterPages) {
        co_Label.v_Set(kn_MasterPagesLabel, "%");
        return;
    }
    if (i_Page == si_PasteBoard) {
        co_Label.v_Set(kn_PasteBoardLabel, "%");
        return;
    }
    co_Label.v_Set(kn_PageLabel, "%");
    co_Label.v_Fix(static_cast<unsigned>(i_Page), CT_String(), 0);
}
