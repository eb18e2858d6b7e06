#include "containers/ct_ordered_linked_list.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/containers/ct_list_test_item.h"

namespace {

using CT_ItemList = CT_LinkedList<CT_ListTestItem>;
using CT_OrderedItemList = CT_OrderedLinkedList<CT_ListTestItem>;

// A list with its own placement rule: every append goes to the front.
class CT_PrependingList : public CT_OrderedItemList {
  public:
    int b_AddLast(CT_ListTestItem* pco_Item) override {
        CT_OrderedItemList::v_Add(pco_Item);
        return 1;
    }
};

class OrderedLinkedListTest : public ::testing::Test {
  protected:
    void SetUp() override { CT_ListTestItem::sco_Deleted().clear(); }
};

TEST_F(OrderedLinkedListTest, SortedInsertionIsStableForEqualKeys) {
    CT_ListTestItem co_b1(2, "b1"), co_a(1, "a"), co_c(3, "c"), co_b2(2, "b2"), co_b3(2, "b3"),
        co_z(0, "z");
    CT_OrderedItemList co_list;
    for (CT_ListTestItem* pco_item : {&co_b1, &co_a, &co_c, &co_b2, &co_z, &co_b3}) {
        co_list.v_Add(&CT_ListTestItem::b_SortsAfter, pco_item);
    }
    EXPECT_EQ(s_Names(co_list), "z,a,b1,b2,b3,c");
}

TEST_F(OrderedLinkedListTest, FindLeavesTheCursorOnTheMatchOrOnTheLastNode) {
    CT_ListTestItem co_a(1, "a"), co_b(2, "b"), co_c(3, "c");
    CT_ListTestItem co_probe(2, "probe"), co_missing(9, "missing");
    CT_OrderedItemList co_list;
    EXPECT_EQ(co_list.b_Find(&co_probe), 0);
    for (CT_ListTestItem* pco_item : {&co_a, &co_b, &co_c}) {
        co_list.b_AddLast(pco_item);
    }
    EXPECT_NE(co_list.b_Find(&co_probe), 0);
    EXPECT_EQ(s_CurrentName(co_list), "b");
    EXPECT_EQ(co_list.b_Find(&co_missing), 0);
    EXPECT_EQ(s_CurrentName(co_list), "c");
    EXPECT_NE(co_list.b_Find(&CT_ListTestItem::b_SortsAfter, &co_a), 0);
    EXPECT_EQ(s_CurrentName(co_list), "b");
}

TEST_F(OrderedLinkedListTest, RemoveUnlinksAndRemoveAllDeletesOnlyTheFirstMatch) {
    auto* pco_twice = new CT_ListTestItem(5, "twice");
    CT_ListTestItem co_a(1, "a"), co_b(2, "b");
    CT_OrderedItemList co_list;
    for (CT_ListTestItem* pco_item : {&co_a, pco_twice, &co_b, pco_twice}) {
        co_list.b_AddLast(pco_item);
    }
    co_list.v_Remove(&co_a);
    EXPECT_EQ(s_Names(co_list), "twice,b,twice");
    EXPECT_TRUE(CT_ListTestItem::sco_Deleted().empty());

    CT_ListTestItem co_probe(5, "probe");
    co_list.v_RemoveAll(&co_probe);
    EXPECT_EQ(CT_ListTestItem::sco_Deleted(), std::vector<std::string>{"twice"});
    EXPECT_EQ(co_list.n_Count(), 2u);
    co_list.v_GotoFirst();
    EXPECT_EQ(s_CurrentName(co_list), "b");
    co_list.v_RemoveCurrent();
    co_list.v_Destroy();  // the second node of the deleted item goes without touching it
}

TEST_F(OrderedLinkedListTest, DuplicatesArePlainListsSharingTheElements) {
    CT_ListTestItem co_a(1, "a"), co_b(2, "b"), co_c(3, "c");
    CT_OrderedItemList co_list;
    for (CT_ListTestItem* pco_item : {&co_a, &co_b, &co_c}) {
        co_list.b_AddLast(pco_item);
    }
    std::unique_ptr<CT_ItemList> pco_copy(co_list.pco_Duplicate());
    EXPECT_EQ(dynamic_cast<CT_OrderedItemList*>(pco_copy.get()), nullptr);
    EXPECT_EQ(s_CurrentName(co_list), "c");
    EXPECT_EQ(s_Names(*pco_copy), "a,b,c");
    pco_copy->v_GotoFirst();
    EXPECT_EQ(pco_copy->pco_GetCurrent(), &co_a);

    // Filling a list from another places the elements by the receiving list's own rule.
    CT_PrependingList co_reversed;
    co_reversed.b_AddLast(&co_b);
    co_reversed.v_Duplicate(&co_list);
    EXPECT_EQ(s_Names(co_reversed), "c,b,a");
    co_reversed.v_Duplicate(&co_reversed);
    EXPECT_EQ(s_Names(co_reversed), "c,b,a");
    EXPECT_TRUE(CT_ListTestItem::sco_Deleted().empty());
}

TEST_F(OrderedLinkedListTest, OrderedInsertionGoesThroughTheVirtualPlacement) {
    CT_ListTestItem co_a(1, "a"), co_b(2, "b"), co_c(3, "c");
    CT_PrependingList co_list;
    co_list.v_Add(&CT_ListTestItem::b_SortsAfter, &co_b);
    co_list.v_Add(&CT_ListTestItem::b_SortsAfter, &co_a);  // before b: v_Insert
    co_list.v_Add(&CT_ListTestItem::b_SortsAfter, &co_c);  // nothing after it: "append" prepends
    EXPECT_EQ(s_Names(co_list), "c,a,b");
}

}  // namespace
