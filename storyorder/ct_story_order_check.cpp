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

// The host's boxes are appended as they come, so that a failure leaves every box made so far in
// the target, and then placed by the target's kind at once.
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
        pco_Target->CT_LinkedList<CT_TextBox>::b_AddLast(pco_box.get());
        pco_box.release();
    } while (CT_DocumentInterface::b_NextTextBox());
    CT_Boxes co_boxes = sco_Boxes(pco_Target);
    sv_Arrange(co_boxes, pco_Target->eo_StoryOrder);
    sv_Refill(pco_Target, co_boxes);
}

// Surviving boxes (their new objects) follow the source's sequence, appended to the target by
// its own rule: the page-group append of the story order, the plain one of the saved
// arrangement. Boxes new to the document then go to the front one after the other, so they
// stand in the reverse of the generated sequence.
void CT_StoryOrder::v_CheckLinkList(CT_BoxList* pco_Source, CT_BoxList* pco_Target) {
    if (pco_Target == nullptr) {
        return;
    }
    pco_TargetList = pco_Target;
    pco_Target->v_Destroy();
    const CT_Boxes co_generated = sco_Boxes(pco_GeneratedBoxList);
    const CT_BoxesByKey co_by_key = sco_ByKey(co_generated);
    CT_Boxes co_kept;
    for (CT_TextBox* pco_old : sco_Boxes(pco_Source)) {
        if (CT_TextBox* pco_new = spco_Match(co_by_key, pco_old)) {
            co_kept.push_back(pco_new);
        }
    }
    if (pco_Target == this) {
        sv_Arrange(co_kept, e_Custom);
    }
    CT_BoxesByKey co_held = sco_ByKey(co_kept);
    CT_Boxes co_front;
    for (CT_TextBox* pco_new : co_generated) {
        if (spco_Match(co_held, pco_new) == nullptr) {
            co_front.push_back(pco_new);
            co_held[std::string(pco_new->cco_GetKey().sv())].push_back(pco_new);
        }
    }
    CT_Boxes co_sequence(co_front.rbegin(), co_front.rend());
    co_sequence.insert(co_sequence.end(), co_kept.begin(), co_kept.end());
    sv_Refill(pco_Target, co_sequence);
}
