#include "storyorder/ct_story_order.h"

#include <algorithm>
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
    CT_Boxes co_boxes = sco_Boxes(eo_Order == e_Custom && pco_CustomStory != nullptr
                                      ? pco_CustomStory
                                      : static_cast<CT_LinkedList<CT_TextBox>*>(this));
    sv_Arrange(co_boxes, eo_Order);
    sv_Refill(this, co_boxes);
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
    if (!b_Indexed || n_IndexedChanges != n_GetChanges()) {
        v_IndexKeys();
    }
    auto co_found = co_KeyIndex.find(std::string(co_Key.sv()));
    pco_Current = co_found == co_KeyIndex.end() ? pco_IndexedLast : co_found->second;
    return co_found != co_KeyIndex.end();
}

void CT_StoryOrder::v_IndexKeys() {
    co_KeyIndex.clear();
    for (CT_ListNode<CT_TextBox>* pco_node = pco_First; pco_node != nullptr;
         pco_node = pco_node->pco_Next) {
        if (pco_node->pco_Element != nullptr) {
            co_KeyIndex.emplace(std::string(pco_node->pco_Element->cco_GetKey().sv()), pco_node);
        }
        pco_IndexedLast = pco_node;
    }
    n_IndexedChanges = n_GetChanges();
    b_Indexed = true;
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
    CT_Boxes co_boxes = sco_Boxes(this);
    sv_Arrange(co_boxes, e_Custom);
    sv_Refill(pco_copy.get(), co_boxes);
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

// --- Whole lists -----------------------------------------------------------------------------

CT_StoryOrder::CT_Boxes CT_StoryOrder::sco_Boxes(CT_LinkedList<CT_TextBox>* pco_List) {
    CT_Boxes co_boxes;
    if (pco_List == nullptr || pco_List->b_IsEmpty()) {
        return co_boxes;
    }
    pco_List->v_GotoFirst();
    do {
        co_boxes.push_back(pco_List->pco_GetCurrent());
    } while (pco_List->b_Next());
    return co_boxes;
}

// Appends plainly: with the cursor left on the last node each append is one step.
void CT_StoryOrder::sv_Refill(CT_LinkedList<CT_TextBox>* pco_List, const CT_Boxes& co_Boxes) {
    pco_List->v_Destroy();
    for (CT_TextBox* pco_box : co_Boxes) {
        pco_List->CT_LinkedList<CT_TextBox>::b_AddLast(pco_box);
    }
}

// A box goes before the first one that sorts strictly after it, so equal boxes keep the
// sequence in which they came: the stable sort by "the other sorts after this one".
void CT_StoryOrder::sv_Arrange(CT_Boxes& co_Boxes, et_StoryOrder eo_Order) {
    switch (eo_Order) {
        case e_TopDown:
            std::stable_sort(co_Boxes.begin(), co_Boxes.end(),
                             [](CT_TextBox* pco_A, CT_TextBox* pco_B) {
                                 return pco_B->b_CompareTopDown(pco_A) != 0;
                             });
            break;
        case e_LeftRight:
            std::stable_sort(co_Boxes.begin(), co_Boxes.end(),
                             [](CT_TextBox* pco_A, CT_TextBox* pco_B) {
                                 return pco_B->b_CompareLeftRight(pco_A) != 0;
                             });
            break;
        default:
            std::stable_sort(co_Boxes.begin(), co_Boxes.end(),
                             [](CT_TextBox* pco_A, CT_TextBox* pco_B) {
                                 return pco_A->i_GetVirtualPage() < pco_B->i_GetVirtualPage();
                             });
            break;
    }
}

CT_StoryOrder::CT_BoxesByKey CT_StoryOrder::sco_ByKey(const CT_Boxes& co_Boxes) {
    CT_BoxesByKey co_index;
    for (CT_TextBox* pco_box : co_Boxes) {
        co_index[std::string(pco_box->cco_GetKey().sv())].push_back(pco_box);
    }
    return co_index;
}

CT_TextBox* CT_StoryOrder::spco_Match(const CT_BoxesByKey& co_Index, CT_TextBox* pco_Box) {
    auto co_found = co_Index.find(std::string(pco_Box->cco_GetKey().sv()));
    if (co_found == co_Index.end()) {
        return nullptr;
    }
    for (CT_TextBox* pco_candidate : co_found->second) {
        if (*pco_candidate == *pco_Box) {
            return pco_candidate;
        }
    }
    return nullptr;
}
