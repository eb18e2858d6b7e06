// How the stories of a document are listed: the order kind every new story order starts with,
// and whether boxes on the pasteboard are left out. A plain value type; story orders and
// documents keep a pointer to the caller's record, which must outlive them.
#pragma once

#include "settings/ct_story_order_kind.h"

class CT_StoryListSettings {
  public:
    CT_StoryListSettings() = default;

    et_StoryOrder eo_GetDefaultStoryOrder() const { return eo_DefaultStoryOrder; }
    void v_SetDefaultStoryOrder(et_StoryOrder eo_Order) { eo_DefaultStoryOrder = eo_Order; }
    int b_GetIgnorePasteBoard() const { return b_IgnorePasteBoard; }
    // Keeps the value as given (not reduced to 0 or 1): the settings file writes it back as set.
    void v_SetIgnorePasteBoard(int b_Ignore) { b_IgnorePasteBoard = b_Ignore; }

  private:
    et_StoryOrder eo_DefaultStoryOrder = e_TopDown;
    int b_IgnorePasteBoard = 0;
};
