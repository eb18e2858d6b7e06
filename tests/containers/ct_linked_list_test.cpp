#include "containers/ct_linked_list.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "containers/ct_ordered_linked_list.h"

namespace {

std::vector<std::string> go_Deleted;

// Equal keys count as the same element; the name tells equal keys apart.
struct CT_Item {
    CT_Item(int i_SortKey, const char* pc_Name) : i_Key(i_SortKey), s_Name(pc_Name) {}
    ~CT_Item() { go_Deleted.push_back(s_Name); }
    int operator==(const CT_Item& co_Other) const { return i_Key == co_Other.i_Key; }
    int b_SortsAfter(CT_Item* pco_Other) { return i_Key > pco_Other->i_Key; }
    int b_Run() { return i_Key != 0; }
    int i_Key;
    std::string s_Name;
};

using CT_List = CT_LinkedList<CT_Item>;

// Exposes the in-place deletion.
class CT_TestList : public CT_OrderedLinkedList<CT_Item> {
  public:
    using CT_OrderedLinkedList<CT_Item>::v_DeleteElement;
};

// The names in list order ("-" for a null element), then the cursor's. Moves the cursor.
std::string s_Show(CT_List& co_List) {
    const CT_Item* pco_current = co_List.pco_GetCurrent();
    std::string s_shown = "[";
    if (!co_List.b_IsEmpty()) {
        co_List.v_GotoFirst();
        do {
            CT_Item* pco_item = co_List.pco_GetCurrent();
            s_shown += (s_shown.size() > 1 ? "," : "") + (pco_item ? pco_item->s_Name : "-");
        } while (co_List.b_Next());
    }
    return s_shown + "] at " + (pco_current ? pco_current->s_Name : "none");
}

class LinkedListTest : public ::testing::Test {
  protected:
    void SetUp() override { go_Deleted.clear(); }
    CT_Item co_A{1, "A"}, co_B{2, "B"}, co_C{3, "C"}, co_D{4, "D"};
};

TEST_F(LinkedListTest, CursorFollowsEachOperation) {
    CT_List co_list;
    co_list.v_Add(&co_B);
    co_list.v_Add(&co_A);
    EXPECT_EQ(co_list.pco_GetCurrent(), &co_A);
    co_list.b_AddLast(&co_C);
    EXPECT_EQ(co_list.pco_GetCurrent(), &co_B);  // on the node that was last
    co_list.v_GotoFirst();
    co_list.v_Insert(&co_D);  // at the first node: D becomes first, under the cursor
    EXPECT_EQ(co_list.pco_GetCurrent(), &co_D);
    co_list.b_Next();
    co_list.b_AddLast(&co_D);  // walks on from the cursor (A), not from the front
    EXPECT_EQ(s_Show(co_list), "[D,A,B,C,D] at C");
    EXPECT_EQ(co_list.b_Next(), 0);
    EXPECT_EQ(co_list.pco_GetCurrent(), &co_D);

    co_list.v_RemoveCurrent();  // the last: no cursor, and appending still goes to the end
    EXPECT_EQ(co_list.pco_GetCurrent(), nullptr);
    co_list.b_AddLast(&co_A);
    EXPECT_EQ(co_list.n_Count(), 5u);
    EXPECT_EQ(s_Show(co_list), "[D,A,B,C,A] at A");
    co_list.v_GotoFirst();
    co_list.b_Next();
    co_list.v_RemoveCurrent();
    EXPECT_EQ(s_Show(co_list), "[D,B,C,A] at B");
    EXPECT_TRUE(go_Deleted.empty());
}

TEST_F(LinkedListTest, OnlyTheDeletingOperationsDeleteElements) {
    CT_TestList co_list;
    for (const char* pc_name : {"x", "y", "z"}) {
        co_list.b_AddLast(new CT_Item(2, pc_name));
    }
    co_list.b_AddLast(&co_D);
    co_list.b_AddLast(co_list.pco_GetCurrent());  // z, a second time
    co_list.v_GotoFirst();
    co_list.b_Next();
    co_list.v_DeleteElement();
    co_list.v_DeleteElement();
    EXPECT_EQ(s_Show(co_list), "[x,-,z,D,z] at none");

    CT_Item co_probe(2, "probe");
    co_list.v_RemoveAll(&co_probe);  // only x, the first equal one
    co_list.v_Remove(&co_D);         // searches pass over the null node
    EXPECT_EQ(s_Show(co_list), "[-,z,z] at z");
    co_list.v_GotoFirst();
    co_list.v_RemoveCurrent();
    co_list.v_RemoveCurrent();  // one node of z goes; z lives on in the other
    EXPECT_EQ(go_Deleted, (std::vector<std::string>{"y", "x"}));
    co_list.v_DestroyAll();
    EXPECT_EQ(s_Show(co_list), "[] at none");
    EXPECT_EQ(go_Deleted, (std::vector<std::string>{"y", "x", "z"}));
}

TEST_F(LinkedListTest, MapStopsAtTheFirstZero) {
    CT_Item co_zero(0, "0");
    CT_List co_list;
    for (CT_Item* pco_item : {&co_A, &co_B, &co_zero, &co_C}) {
        co_list.b_AddLast(pco_item);
    }
    EXPECT_EQ(co_list.b_Map(&CT_Item::b_Run), 0);
    EXPECT_EQ(co_list.pco_GetCurrent(), &co_C);  // advanced once more after the last call

    co_zero.i_Key = 7;
    EXPECT_EQ(co_list.b_Map(&CT_Item::b_Run), 1);
}

TEST_F(LinkedListTest, OrderedInsertionIsStableAndDuplicatesArePlainLists) {
    CT_Item co_b2(2, "b2"), co_b3(2, "b3"), co_z(0, "z");
    CT_OrderedLinkedList<CT_Item> co_list;
    for (CT_Item* pco_item : {&co_B, &co_A, &co_C, &co_b2, &co_z, &co_b3}) {
        co_list.v_Add(&CT_Item::b_SortsAfter, pco_item);
    }
    EXPECT_EQ(s_Show(co_list), "[z,A,B,b2,b3,C] at b3");
    EXPECT_NE(co_list.b_Find(&CT_Item::b_SortsAfter, &co_b2), 0);
    EXPECT_EQ(co_list.pco_GetCurrent(), &co_C);

    std::unique_ptr<CT_List> pco_copy(co_list.pco_Duplicate());
    EXPECT_EQ(dynamic_cast<CT_OrderedLinkedList<CT_Item>*>(pco_copy.get()), nullptr);
    EXPECT_EQ(s_Show(*pco_copy), "[z,A,B,b2,b3,C] at b3");
    EXPECT_TRUE(go_Deleted.empty());
}

}  // namespace
