// Bringing a story order up to date with the host's current boxes. Every box object is
// replaced by a new one made from the host's list; the old sequence decides where the boxes
// that survive go.
#include <memory>

#include "platform/host/ct_document_interface.h"
#include "storyorder/ct_story_order.h"

void CT_StoryOrder::v_CheckStoryOrder() {
    CT_StoryOrder* pco_old_state = pco_DuplicateOrder();
    try {
        pco_GeneratedBoxList = new CT_StoryOrder(*pco_StoryListSettings);
        v_GenerateBoxList(pco_GeneratedBoxList);
        v_CheckLinkList(pco_old_state, this);
        v_CheckLinkList(pco_old_state->pco_CustomStory, pco_CustomStory);
    } catch (...) {
        v_UndoCheck(pco_old_state);
        throw;
    }
    pco_old_state->v_DestroyAll();
    delete pco_old_state;
    delete pco_GeneratedBoxList;  // nodes only: its boxes now belong to this order
    pco_GeneratedBoxList = nullptr;
    pco_TargetList = nullptr;
    v_SetStoryOrder(eo_StoryOrder);
}

// A host failure may come while boxes are being made or compared. The old state still holds
// every box this order held, in sequence; the new boxes are all in the generated list.
void CT_StoryOrder::v_UndoCheck(CT_StoryOrder* pco_OldState) {
    sv_CopySequence(pco_OldState, this);
    if (pco_CustomStory != nullptr) {
        sv_CopySequence(pco_OldState->pco_CustomStory, pco_CustomStory);
    }
    if (pco_GeneratedBoxList != nullptr) {
        pco_GeneratedBoxList->v_DestroyAll();
        delete pco_GeneratedBoxList;
        pco_GeneratedBoxList = nullptr;
    }
    pco_TargetList = nullptr;
    delete pco_OldState;
}

void CT_StoryOrder::v_GenerateBoxList(CT_StoryOrder* pco_Target) {
    pco_Target->v_Destroy();
    CT_DocumentInterface::v_GenerateBoxList(pco_StoryListSettings->b_GetIgnorePasteBoard());
    if (CT_DocumentInterface::b_IsBoxListEmpty()) {
        return;
    }
    CT_DocumentInterface::v_ResetBoxList();
    do {
        std::unique_ptr<CT_TextBox> pco_box(
            new CT_TextBox(CT_DocumentInterface::p_GetCurrentBox()));
        pco_Target->v_Add(pco_box.get());
        pco_box.release();
    } while (CT_DocumentInterface::b_NextTextBox());
}

void CT_StoryOrder::v_CheckLinkList(CT_BoxList* pco_Source, CT_BoxList* pco_Target) {
    if (pco_Target == nullptr) {
        return;
    }
    pco_TargetList = pco_Target;
    pco_Target->v_Destroy();
    b_MapList(static_cast<CT_LinkedList<CT_TextBox>*>(pco_Source), &CT_StoryOrder::b_CheckAdd,
              this);
    b_MapList(static_cast<CT_LinkedList<CT_TextBox>*>(pco_GeneratedBoxList),
              &CT_StoryOrder::b_CheckBoxPresence, this);
}

// A surviving box: its new object takes the old one's place in the sequence.
int CT_StoryOrder::b_CheckAdd(CT_TextBox* pco_Box) {
    if (pco_GeneratedBoxList->CT_BoxList::b_Find(pco_Box)) {
        pco_TargetList->b_AddLast(pco_GeneratedBoxList->pco_GetCurrent());
    }
    return 1;
}

// A box new to the document goes to the front; the final placement puts it in its group.
int CT_StoryOrder::b_CheckBoxPresence(CT_TextBox* pco_Box) {
    if (!pco_TargetList->b_Find(pco_Box)) {
        pco_TargetList->CT_LinkedList<CT_TextBox>::v_Add(pco_Box);
    }
    return 1;
}
