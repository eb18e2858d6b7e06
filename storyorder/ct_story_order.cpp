#include "storyorder/ct_story_order.h"

#include <memory>

#include "platform/host/ct_document_interface.h"

template class CT_LinkedList<CT_TextBox>;
template class CT_OrderedLinkedList<CT_TextBox>;

CT_StoryOrder::CT_StoryOrder(const CT_StoryListSettings& co_Settings)
    : eo_StoryOrder(co_Settings.eo_GetDefaultStoryOrder()), pco_StoryListSettings(&co_Settings) {}

CT_StoryOrder::~CT_StoryOrder() {
    v_ClearCustomStory();
    v_Destroy();
}

// --- Placement -------------------------------------------------------------------------------

void CT_StoryOrder::v_Add(CT_TextBox* pco_Box) {
    b_AddInOrder(pco_Box);
}

int CT_StoryOrder::b_AddLast(CT_TextBox* pco_Box) {
    if (b_FindFirstTextBoxOnNextPage(pco_Box)) {
        v_Insert(pco_Box);
        return 1;
    }
    CT_LinkedList<CT_TextBox>::b_AddLast(pco_Box);
    return 1;
}

int CT_StoryOrder::b_FindFirstTextBoxOnNextPage(CT_TextBox* pco_Box) {
    v_GotoFirst();
    if (b_IsEmpty()) {
        return 0;
    }
    do {
        if (pco_GetCurrent()->i_GetVirtualPage() > pco_Box->i_GetVirtualPage()) {
            return 1;
        }
    } while (b_Next());
    return 0;
}

int CT_StoryOrder::b_AddInOrder(CT_TextBox* pco_Box) {
    switch (eo_StoryOrder) {
        case e_TopDown:
            CT_BoxList::v_Add(&CT_TextBox::b_CompareTopDown, pco_Box);
            break;
        case e_LeftRight:
            CT_BoxList::v_Add(&CT_TextBox::b_CompareLeftRight, pco_Box);
            break;
        default:
            b_AddLast(pco_Box);
            break;
    }
    return 1;
}

// --- Kind and moves --------------------------------------------------------------------------

void CT_StoryOrder::v_SetStoryOrder(et_StoryOrder eo_Order) {
    v_SaveCustomOrder();
    eo_StoryOrder = eo_Order;
    std::unique_ptr<CT_LinkedList<CT_TextBox>> pco_source(
        eo_Order == e_Custom && pco_CustomStory != nullptr
            ? pco_CustomStory->pco_Duplicate()
            : CT_LinkedList<CT_TextBox>::pco_Duplicate());
    v_Destroy();
    b_MapList(pco_source.get(), &CT_StoryOrder::b_AddInOrder, this);
}

void CT_StoryOrder::v_SaveCustomOrder() {
    if (eo_StoryOrder != e_Custom) {
        return;
    }
    v_ClearCustomStory();
    pco_CustomStory = spco_PlainCopy(this);
}

void CT_StoryOrder::v_ClearCustomStory() {
    delete pco_CustomStory;
    pco_CustomStory = nullptr;
}

void CT_StoryOrder::v_Move(CT_TextBox* pco_Box, CT_TextBox* pco_Before) {
    CT_BoxList::v_Remove(pco_Box);
    if (pco_Before == nullptr) {
        b_AddLast(pco_Box);
    } else {
        // Without a match the cursor stands on the last box, and the box goes before that.
        CT_BoxList::b_Find(pco_Before);
        v_Insert(pco_Box);
    }
    eo_StoryOrder = e_Custom;
}

int CT_StoryOrder::b_Find(const CT_String& co_Key) {
    if (b_IsEmpty()) {
        return 0;
    }
    v_GotoFirst();
    do {
        if (pco_GetCurrent()->b_IsThisBox(co_Key)) {
            return 1;
        }
    } while (b_Next());
    return 0;
}

// --- Copies ----------------------------------------------------------------------------------

CT_LinkedList<CT_TextBox>* CT_StoryOrder::pco_Duplicate() {
    return pco_DuplicateOrder();
}

CT_StoryOrder* CT_StoryOrder::pco_DuplicateOrder() {
    std::unique_ptr<CT_StoryOrder> pco_copy(new CT_StoryOrder(*pco_StoryListSettings));
    if (pco_CustomStory != nullptr) {
        pco_copy->pco_CustomStory = spco_PlainCopy(pco_CustomStory);
    }
    b_MapList(static_cast<CT_LinkedList<CT_TextBox>*>(this), &CT_StoryOrder::b_AddLast,
              pco_copy.get());
    return pco_copy.release();
}

// The saved arrangement is searched with the ordered list's operations, so it is kept as an
// ordered list object; that class adds no placement rule, so filling it is a plain append.
CT_StoryOrder::CT_BoxList* CT_StoryOrder::spco_PlainCopy(CT_LinkedList<CT_TextBox>* pco_Source) {
    std::unique_ptr<CT_BoxList> pco_copy(new CT_BoxList);
    sv_CopySequence(pco_Source, pco_copy.get());
    return pco_copy.release();
}

void CT_StoryOrder::sv_CopySequence(CT_LinkedList<CT_TextBox>* pco_Source, CT_BoxList* pco_Target) {
    pco_Target->v_Destroy();
    if (pco_Source == nullptr || pco_Source->b_IsEmpty()) {
        return;
    }
    pco_Source->v_GotoFirst();
    do {
        pco_Target->CT_LinkedList<CT_TextBox>::b_AddLast(pco_Source->pco_GetCurrent());
    } while (pco_Source->b_Next());
}
