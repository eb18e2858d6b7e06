// One group of the user's story list: a document page, the pasteboard, or all master pages
// together. It tells which text boxes belong to it, shows its place in the host and carries its
// label from the kernel's string table. A plain value: copies are independent.
#pragma once

#include "platform/common/ct_res_string.h"
#include "platform/common/ct_string.h"

class CT_TextBox;

class CT_Page {
  public:
    static constexpr int si_MasterPages = -1;
    static constexpr int si_PasteBoard = 0;

    // -1 for all master pages, 0 for the pasteboard, N for document page N. The label stays
    // empty until v_SetListLabel.
    explicit CT_Page(int i_ThePage);

    // Non-zero when the box lies in this group.
    int b_IsOnThisPage(CT_TextBox* pco_Box) const;
    // The host shows the group's page (or the master pages, or the pasteboard).
    void v_Display() const;
    // "Master Pages", "Pasteboard" or "Page N". The index is not used: a page's label does not
    // depend on its place in the list.
    void v_SetListLabel(unsigned n_Unused);
    const CT_String& cco_GetListLabel() const { return co_Label.cco_Get(); }
    // A document page's label by the name printed on it ("Page A22"), where its number is not
    // what the reader sees.
    static CT_String sco_PrintedLabel(const char* pc_Name);

  private:
    int i_Page;
    CT_ResString co_Label;
};
