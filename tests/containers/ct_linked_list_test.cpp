#include "containers/ct_linked_list.h"

#include <gtest/gtest.h>

#include "tests/containers/ct_list_test_item.h"

namespace {

using CT_ItemList = CT_LinkedList<CT_ListTestItem>;

// Exposes the in-place deletion that only derived lists may use.
class CT_DeletingList : public CT_ItemList {
  public:
    using CT_ItemList::v_DeleteElement;
};

// Counts the calls that b_Map and b_MapList make, answering from a script.
struct CT_ScriptedCall {
    std::vector<int> co_Answers;
    std::vector<std::string> co_Seen;
    int b_Visit(CT_ListTestItem* pco_Item) {
        co_Seen.push_back(pco_Item->s_Name);
        return co_Answers[co_Seen.size() - 1];
    }
};

class LinkedListTest : public ::testing::Test {
  protected:
    void SetUp() override { CT_ListTestItem::sco_Deleted().clear(); }
    CT_ListTestItem co_A{1, "A"}, co_B{2, "B"}, co_C{3, "C"}, co_D{4, "D"};
};

TEST_F(LinkedListTest, EmptyListAnswersNothingAndIgnoresCursorOperations) {
    CT_ItemList co_list;
    EXPECT_EQ(co_list.b_IsEmpty(), 1);
    EXPECT_EQ(co_list.n_Count(), 0u);
    EXPECT_EQ(co_list.pco_GetCurrent(), nullptr);
    EXPECT_EQ(co_list.b_Next(), 0);
    EXPECT_EQ(co_list.b_Map(&CT_ListTestItem::b_Succeed), 0);
    co_list.v_RemoveCurrent();
    EXPECT_EQ(co_list.b_IsEmpty(), 1);

    CT_ItemList co_appended, co_inserted;
    co_appended.b_AddLast(&co_A);
    co_inserted.v_Insert(&co_B);
    EXPECT_EQ(s_CurrentName(co_appended), "A");
    EXPECT_EQ(s_CurrentName(co_inserted), "B");
    EXPECT_EQ(co_appended.n_Count(), 1u);
    EXPECT_EQ(co_inserted.n_Count(), 1u);
}

TEST_F(LinkedListTest, CursorFollowsEachOperation) {
    CT_ItemList co_list;
    co_list.v_Add(&co_B);
    co_list.v_Add(&co_A);
    EXPECT_EQ(s_CurrentName(co_list), "A");  // v_Add: on the new first element

    co_list.b_AddLast(&co_C);
    EXPECT_EQ(s_CurrentName(co_list), "B");  // b_AddLast: on the node that was last
    co_list.b_AddLast(&co_D);
    EXPECT_EQ(s_CurrentName(co_list), "C");
    EXPECT_EQ(co_list.b_Next(), 1);
    EXPECT_EQ(co_list.b_Next(), 0);  // on the last node: stays
    EXPECT_EQ(s_CurrentName(co_list), "D");
    EXPECT_EQ(s_Names(co_list), "A,B,C,D");

    EXPECT_EQ(co_list.n_Count(), 4u);
    EXPECT_EQ(s_CurrentName(co_list), "D");
}

TEST_F(LinkedListTest, AppendWalksOnFromTheCursorNotTheFront) {
    CT_ItemList co_list;
    co_list.v_Add(&co_A);
    co_list.b_AddLast(&co_B);
    co_list.b_AddLast(&co_C);
    co_list.v_GotoFirst();
    co_list.b_Next();  // cursor in the middle
    co_list.b_AddLast(&co_D);
    EXPECT_EQ(s_CurrentName(co_list), "C");
    EXPECT_EQ(s_Names(co_list), "A,B,C,D");
}

TEST_F(LinkedListTest, InsertPutsTheNewElementUnderTheCursorBeforeTheOldOne) {
    CT_ItemList co_list;
    co_list.v_Add(&co_C);
    co_list.v_Add(&co_B);
    co_list.v_GotoFirst();
    co_list.v_Insert(&co_A);  // at the first node
    EXPECT_EQ(s_CurrentName(co_list), "A");
    EXPECT_EQ(co_list.b_Next(), 1);
    EXPECT_EQ(s_CurrentName(co_list), "B");
    co_list.v_Insert(&co_D);  // in the middle
    EXPECT_EQ(s_Names(co_list), "A,D,B,C");
}

TEST_F(LinkedListTest, RemovingTheLastNodeLeavesNoCursorAndAppendStillGoesToTheEnd) {
    CT_ItemList co_list;
    co_list.v_Add(&co_A);
    co_list.b_AddLast(&co_B);
    co_list.b_AddLast(&co_C);
    co_list.n_Count();  // cursor on C
    co_list.v_RemoveCurrent();
    EXPECT_EQ(co_list.pco_GetCurrent(), nullptr);
    co_list.b_AddLast(&co_D);
    EXPECT_EQ(s_Names(co_list), "A,B,D");

    co_list.v_GotoFirst();
    co_list.b_Next();
    co_list.v_RemoveCurrent();  // B: cursor to its successor
    EXPECT_EQ(s_CurrentName(co_list), "D");
    co_list.v_GotoFirst();
    co_list.v_RemoveCurrent();  // the first
    EXPECT_EQ(s_Names(co_list), "D");
    EXPECT_TRUE(CT_ListTestItem::sco_Deleted().empty());
}

TEST_F(LinkedListTest, OnlyTheDestroyAllFamilyDeletesElements) {
    {
        CT_ItemList co_list;
        co_list.b_AddLast(&co_A);
        co_list.b_AddLast(&co_B);
        co_list.v_Destroy();
        EXPECT_EQ(co_list.b_IsEmpty(), 1);
        EXPECT_EQ(co_list.pco_GetCurrent(), nullptr);
        co_list.b_AddLast(&co_C);
    }  // the destructor frees the node of C only
    EXPECT_TRUE(CT_ListTestItem::sco_Deleted().empty());

    CT_DeletingList co_list;
    co_list.b_AddLast(new CT_ListTestItem(1, "x"));
    co_list.b_AddLast(new CT_ListTestItem(2, "y"));
    co_list.b_AddLast(new CT_ListTestItem(3, "z"));
    co_list.v_GotoFirst();
    co_list.b_Next();
    co_list.v_DeleteElement();
    co_list.v_DeleteElement();  // already null: nothing more
    EXPECT_EQ(s_Names(co_list), "x,-,z");
    co_list.v_DestroyAll();
    EXPECT_EQ(co_list.b_IsEmpty(), 1);
    EXPECT_EQ(co_list.pco_GetCurrent(), nullptr);
    EXPECT_EQ(CT_ListTestItem::sco_Deleted(), (std::vector<std::string>{"y", "x", "z"}));
}

TEST_F(LinkedListTest, MapStopsAtTheFirstZero) {
    CT_ItemList co_list;
    for (CT_ListTestItem* pco_item : {&co_A, &co_B, &co_C, &co_D}) {
        co_list.b_AddLast(pco_item);
    }
    CT_ScriptedCall co_call{{1, 1, 0, 1}, {}};
    EXPECT_EQ(b_MapList(&co_list, &CT_ScriptedCall::b_Visit, &co_call), 0);
    EXPECT_EQ(co_call.co_Seen, (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(s_CurrentName(co_list), "C");  // tested before the cursor moves

    CT_ScriptedCall co_all{{1, 1, 1, 1}, {}};
    EXPECT_EQ(b_MapList(&co_list, &CT_ScriptedCall::b_Visit, &co_all), 1);
    EXPECT_EQ(co_all.co_Seen.size(), 4u);

    EXPECT_EQ(b_MapList(static_cast<CT_ItemList*>(nullptr), &CT_ScriptedCall::b_Visit, &co_all), 0);
    EXPECT_EQ(b_MapList(&co_list, &CT_ScriptedCall::b_Visit, nullptr), 0);
}

TEST_F(LinkedListTest, MemberMapReportsWhetherEveryCallSucceeded) {
    struct CT_Counted : CT_ListTestItem {
        using CT_ListTestItem::CT_ListTestItem;
        int b_Run() {
            ++i_Runs;
            return i_Key != 0;
        }
        int i_Runs = 0;
    };
    CT_Counted co_one(1, "1"), co_two(1, "2"), co_zero(0, "0"), co_four(1, "4");
    CT_LinkedList<CT_Counted> co_list;
    for (CT_Counted* pco_item : {&co_one, &co_two, &co_zero, &co_four}) {
        co_list.b_AddLast(pco_item);
    }
    EXPECT_EQ(co_list.b_Map(&CT_Counted::b_Run), 0);
    EXPECT_EQ(co_one.i_Runs + co_two.i_Runs + co_zero.i_Runs + co_four.i_Runs, 3);

    co_zero.i_Key = 5;
    EXPECT_EQ(co_list.b_Map(&CT_Counted::b_Run), 1);
    EXPECT_EQ(co_four.i_Runs, 1);
}

}  // namespace
