// The text boxes of one host document in story order: the order of export and the place where
// import finds a box by key. Boxes are grouped by virtual page in ascending order; within a
// page the kind in force sorts them top-down, left-right, or keeps the user's arrangement,
// which is set aside while another kind is in force and comes back with e_Custom.
//
// Ownership: the story order owns its nodes and its saved arrangement (a list object holding
// the same boxes), never the boxes. Its owner deletes them with v_DestroyAll before deleting
// the story order. v_CheckStoryOrder replaces every box object (the old ones are deleted), so
// box pointers and duplicates taken before a check are stale after it. The settings record is
// the caller's and must outlive the story order.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "containers/ct_linked_list.h"
#include "containers/ct_ordered_linked_list.h"
#include "platform/common/ct_string.h"
#include "settings/ct_story_list_settings.h"
#include "settings/ct_story_order_kind.h"
#include "textbox/ct_text_box.h"

// The text-box lists are part of the library's interface and are instantiated in it once.
extern template class CT_LinkedList<CT_TextBox>;
extern template class CT_OrderedLinkedList<CT_TextBox>;

class CT_StoryOrder : public CT_OrderedLinkedList<CT_TextBox> {
  public:
    using CT_OrderedLinkedList<CT_TextBox>::b_Find;
    using CT_OrderedLinkedList<CT_TextBox>::v_Add;

    // Empty, with the settings' default kind and no saved arrangement.
    explicit CT_StoryOrder(const CT_StoryListSettings& co_Settings);
    // Frees the nodes and the saved arrangement, never a box.
    ~CT_StoryOrder() override;
    // A copy would share nodes and the saved arrangement; pco_Duplicate makes a safe one.
    CT_StoryOrder(const CT_StoryOrder&) = delete;
    CT_StoryOrder& operator=(const CT_StoryOrder&) = delete;

    // Places the box by the kind in force.
    void v_Add(CT_TextBox* pco_Box) override;
    // Puts the box at the end of its page group: before the first box of a later virtual page,
    // or at the end. Always returns 1.
    int b_AddLast(CT_TextBox* pco_Box) override;
    // A new CT_StoryOrder (returned through the base class; the caller owns it and may delete
    // it through either class) holding the same boxes, regrouped by page, and its own copy of
    // the saved arrangement. Its kind is the settings' default, not this order's kind.
    CT_LinkedList<CT_TextBox>* pco_Duplicate() override;

    // Puts the box before pco_Before, whatever its page, or at the end of its own page group
    // when pco_Before is null; the kind becomes e_Custom. A move across pages lasts until the
    // next rebuild, which regroups by page.
    void v_Move(CT_TextBox* pco_Box, CT_TextBox* pco_Before);
    // Rebuilds the list from the host's current boxes: boxes that still exist keep their
    // place, vanished ones are deleted, new ones come in (under e_Custom first in their page
    // group). When the host fails during the check, the order keeps its old boxes (grouped by
    // page) and the error passes on.
    void v_CheckStoryOrder();
    // Sets the kind and places every box again. Leaving e_Custom, or setting it again, saves
    // the arrangement; entering it restores the saved one. Values other than the three kinds
    // place like e_Custom but never save or restore.
    void v_SetStoryOrder(et_StoryOrder eo_Order);
    et_StoryOrder eo_GetStoryOrder() const { return eo_StoryOrder; }
    // Puts the cursor on the first box with this key; 0 when none has it (the cursor then
    // stands on the last box). An index by key, built at the first search after a change of the
    // list, makes a run of searches cost one walk; it assumes that a box keeps the key it had
    // when it was placed, as every box made by a check does.
    int b_Find(const CT_String& co_Key);

  private:
    using CT_BoxList = CT_OrderedLinkedList<CT_TextBox>;
    using CT_Boxes = std::vector<CT_TextBox*>;
    using CT_BoxesByKey = std::unordered_map<std::string, CT_Boxes>;

    void v_GenerateBoxList(CT_StoryOrder* pco_Target);
    void v_CheckLinkList(CT_BoxList* pco_Source, CT_BoxList* pco_Target);
    void v_SaveCustomOrder();
    void v_ClearCustomStory();
    int b_AddInOrder(CT_TextBox* pco_Box);
    int b_FindFirstTextBoxOnNextPage(CT_TextBox* pco_Box);

    CT_StoryOrder* pco_DuplicateOrder();
    // A list object of its own holding the source's boxes in sequence, appended plainly.
    static CT_BoxList* spco_PlainCopy(CT_LinkedList<CT_TextBox>* pco_Source);
    // Puts the source's boxes into the target in sequence, without any placement rule.
    static void sv_CopySequence(CT_LinkedList<CT_TextBox>* pco_Source, CT_BoxList* pco_Target);
    void v_UndoCheck(CT_StoryOrder* pco_OldState);

    // The bulk forms of the walks above. Placing boxes one after the other by a kind, into an
    // empty list, is a stable sort by that kind's comparison (by virtual page alone for the
    // page-group append), so whole lists are placed by sorting, and boxes are matched through
    // an index by key: boxes with different keys are never the same box, as the key is unique
    // in the document; the host still decides identity among boxes of one key.
    static CT_Boxes sco_Boxes(CT_LinkedList<CT_TextBox>* pco_List);
    static void sv_Refill(CT_LinkedList<CT_TextBox>* pco_List, const CT_Boxes& co_Boxes);
    static void sv_Arrange(CT_Boxes& co_Boxes, et_StoryOrder eo_Order);
    static CT_BoxesByKey sco_ByKey(const CT_Boxes& co_Boxes);
    // The first box of the index equal to the box (the host's answer), or null.
    static CT_TextBox* spco_Match(const CT_BoxesByKey& co_Index, CT_TextBox* pco_Box);
    void v_IndexKeys();

    std::unordered_map<std::string, CT_ListNode<CT_TextBox>*> co_KeyIndex;
    CT_ListNode<CT_TextBox>* pco_IndexedLast = nullptr;
    unsigned n_IndexedChanges = 0;
    bool b_Indexed = false;

    et_StoryOrder eo_StoryOrder;
    CT_BoxList* pco_CustomStory = nullptr;          // owned; the saved arrangement
    CT_StoryOrder* pco_GeneratedBoxList = nullptr;  // only during v_CheckStoryOrder
    CT_BoxList* pco_TargetList = nullptr;           // only during v_CheckLinkList
    const CT_StoryListSettings* pco_StoryListSettings;
};
