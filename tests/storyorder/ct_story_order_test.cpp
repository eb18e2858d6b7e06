#include "storyorder/ct_story_order.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/common/ct_error_code.h"
#include "settings/ct_story_list_settings.h"
#include "tests/textbox/ct_host_fixture.h"

namespace {

// Keys of the boxes in list sequence, comma-separated. Moves the cursor.
std::string s_Keys(CT_LinkedList<CT_TextBox>& co_List) {
    std::string s_keys;
    if (co_List.b_IsEmpty()) {
        return s_keys;
    }
    co_List.v_GotoFirst();
    do {
        s_keys +=
            (s_keys.empty() ? "" : ",") + std::string(co_List.pco_GetCurrent()->cco_GetKey().sv());
    } while (co_List.b_Next());
    return s_keys;
}

CT_TextBox* pco_Box(CT_StoryOrder& co_Order, const char* pc_Key) {
    EXPECT_EQ(co_Order.b_Find(CT_String(pc_Key, 0)), 1) << pc_Key;
    return co_Order.pco_GetCurrent();
}

class StoryOrderTest : public CT_HostFixture {
  protected:
    void TearDown() override {
        for (auto& pco_order : co_Orders) {
            pco_order->v_DestroyAll();
        }
        co_Orders.clear();
        CT_HostFixture::TearDown();
    }

    // A story order that the fixture destroys with its boxes.
    CT_StoryOrder& co_NewOrder() {
        co_Orders.emplace_back(new CT_StoryOrder(co_Settings));
        return *co_Orders.back();
    }

    // The host has given out exactly one handle per box the orders hold, and none twice.
    void v_ExpectOnlyHeldHandles() {
        int n_held = 0;
        for (auto& pco_order : co_Orders) {
            n_held += static_cast<int>(pco_order->n_Count());
        }
        EXPECT_EQ(co_Host.n_LiveBoxHandles(), n_held);
        EXPECT_EQ(co_Host.n_DoubleReleases(), 0);
    }

    // Page 1: A, B, C from top to bottom; page 2: X above Y. Host order scrambled.
    void v_OpenTwoPages() {
        v_OpenDocument({so_OnPage("Y", 2, 0, 10), so_OnPage("B", 1, 0, 10), so_OnPage("X", 2, 0, 0),
                        so_OnPage("A", 1, 0, 0), so_OnPage("C", 1, 0, 20)});
    }

    CT_StoryListSettings co_Settings;
    std::vector<std::unique_ptr<CT_StoryOrder>> co_Orders;
};

TEST_F(StoryOrderTest, TopDownAndLeftRightGroupByPageThenSortByPosition) {
    v_OpenDocument({so_OnPage("A", 1, 50, 100), so_OnPasteBoard("P"), so_OnPage("B", 1, 10, 100),
                    so_OnMaster("M", 0, "A-Master"), so_OnPage("D", 1, 300, 20)});
    CT_StoryOrder& co_top_down = co_NewOrder();
    co_top_down.v_CheckStoryOrder();
    EXPECT_EQ(s_Keys(co_top_down), "M,P,D,B,A");
    EXPECT_EQ(co_top_down.eo_GetStoryOrder(), e_TopDown);

    co_Settings.v_SetDefaultStoryOrder(e_LeftRight);
    CT_StoryOrder& co_left_right = co_NewOrder();
    co_left_right.v_CheckStoryOrder();
    EXPECT_EQ(s_Keys(co_left_right), "M,P,B,A,D");

    co_top_down.v_SetStoryOrder(e_LeftRight);
    EXPECT_EQ(s_Keys(co_top_down), "M,P,B,A,D");

    co_Settings.v_SetIgnorePasteBoard(1);
    co_top_down.v_CheckStoryOrder();
    EXPECT_EQ(s_Keys(co_top_down), "M,B,A,D");
    v_ExpectOnlyHeldHandles();
}

TEST_F(StoryOrderTest, CustomArrangementSurvivesMovesAndAKindSwitchAndBack) {
    v_OpenTwoPages();
    CT_StoryOrder& co_order = co_NewOrder();
    co_order.v_CheckStoryOrder();
    EXPECT_EQ(s_Keys(co_order), "A,B,C,X,Y");

    co_order.v_Move(pco_Box(co_order, "C"), pco_Box(co_order, "A"));
    EXPECT_EQ(co_order.eo_GetStoryOrder(), e_Custom);
    EXPECT_EQ(s_Keys(co_order), "C,A,B,X,Y");
    co_order.v_Move(pco_Box(co_order, "A"), nullptr);  // end of its own page group
    EXPECT_EQ(s_Keys(co_order), "C,B,A,X,Y");
    co_order.v_Move(pco_Box(co_order, "Y"), pco_Box(co_order, "B"));  // across pages
    EXPECT_EQ(s_Keys(co_order), "C,Y,B,A,X");

    co_order.v_SetStoryOrder(e_LeftRight);
    EXPECT_EQ(s_Keys(co_order), "A,B,C,X,Y");
    co_order.v_SetStoryOrder(e_Custom);  // the arrangement returns, regrouped by page
    EXPECT_EQ(s_Keys(co_order), "C,B,A,Y,X");
    co_order.v_SetStoryOrder(e_Custom);
    EXPECT_EQ(s_Keys(co_order), "C,B,A,Y,X");
    v_ExpectOnlyHeldHandles();
}

// A kind read from a hand-edited settings file places like the custom order, but its sequence
// is never saved: switching away and back to the custom order finds nothing to restore.
TEST_F(StoryOrderTest, UnknownKindPlacesLikeCustomWithoutSavingItsSequence) {
    v_OpenTwoPages();
    co_Settings.v_SetDefaultStoryOrder(static_cast<et_StoryOrder>(3));
    CT_StoryOrder& co_order = co_NewOrder();
    co_order.v_CheckStoryOrder();
    EXPECT_EQ(s_Keys(co_order), "C,A,B,X,Y");
    co_order.v_SetStoryOrder(e_TopDown);
    EXPECT_EQ(s_Keys(co_order), "A,B,C,X,Y");
    co_order.v_SetStoryOrder(e_Custom);
    EXPECT_EQ(s_Keys(co_order), "A,B,C,X,Y");
    v_ExpectOnlyHeldHandles();
}

TEST_F(StoryOrderTest, CheckUnderCustomDropsVanishedBoxesAndPutsNewOnesFirstInTheirPage) {
    v_OpenTwoPages();
    CT_StoryOrder& co_order = co_NewOrder();
    co_order.v_CheckStoryOrder();
    co_order.v_Move(pco_Box(co_order, "C"), pco_Box(co_order, "A"));
    co_order.v_Move(pco_Box(co_order, "Y"), pco_Box(co_order, "X"));
    EXPECT_EQ(s_Keys(co_order), "C,A,B,Y,X");

    co_LiveBoxes().erase(co_LiveBoxes().begin() + 1);  // B
    co_LiveBoxes().push_back(so_OnPage("N1", 1, 0, 5));
    co_LiveBoxes().push_back(so_OnPage("N2", 2, 0, 5));
    co_LiveBoxes().push_back(so_OnPage("N3", 2, 0, 6));
    co_order.v_CheckStoryOrder();
    EXPECT_EQ(s_Keys(co_order), "N1,C,A,N3,N2,Y,X");
    EXPECT_EQ(co_order.eo_GetStoryOrder(), e_Custom);
    v_ExpectOnlyHeldHandles();

    co_order.v_SetStoryOrder(e_TopDown);
    EXPECT_EQ(s_Keys(co_order), "A,N1,C,X,N2,N3,Y");
    co_order.v_SetStoryOrder(e_Custom);
    EXPECT_EQ(s_Keys(co_order), "N1,C,A,N3,N2,Y,X");
}

// Whole lists are placed at once (a stable sort, old and new boxes matched by key), which must
// give what placing the boxes one at a time by the rules gives: ties keep the sequence they came
// in, new boxes come before the old ones they tie with, a box that moved goes by its new place.
TEST_F(StoryOrderTest, ChecksAndSwitchesOverManyTiesGiveTheOneAtATimeSequences) {
    v_OpenDocument({so_OnPage("a", 1, 0, 0), so_OnPage("b", 1, 0, 0), so_OnPage("c", 1, 10, 0),
                    so_OnPage("d", 1, 0, 50), so_OnPage("e", 2, 0, 0), so_OnPage("f", 2, 0, 0),
                    so_OnPasteBoard("p"), so_OnPage("g", 1, 10, 0)});
    CT_StoryOrder& co_order = co_NewOrder();
    co_order.v_CheckStoryOrder();
    EXPECT_EQ(s_Keys(co_order), "p,b,a,g,c,d,f,e");

    co_LiveBoxes().erase(co_LiveBoxes().begin() + 1);  // b goes
    co_LiveBoxes()[1].n_Page = 2;                      // c moves to page 2
    co_LiveBoxes().push_back(so_OnPage("h", 1, 0, 0));
    co_LiveBoxes().push_back(so_OnPage("i", 2, 0, 0));
    co_LiveBoxes().push_back(so_OnPage("j", 1, 0, 0));
    co_order.v_CheckStoryOrder();
    EXPECT_EQ(s_Keys(co_order), "p,j,h,a,g,d,i,f,e,c");
    co_order.v_SetStoryOrder(e_LeftRight);
    EXPECT_EQ(s_Keys(co_order), "p,j,h,a,d,g,i,f,e,c");

    co_order.v_Move(pco_Box(co_order, "d"), pco_Box(co_order, "a"));
    co_order.v_Move(pco_Box(co_order, "i"), nullptr);
    EXPECT_EQ(s_Keys(co_order), "p,j,h,d,a,g,f,e,c,i");
    co_LiveBoxes().push_back(so_OnPage("k", 2, 10, 0));
    co_LiveBoxes().push_back(so_OnPage("l", 1, 0, 50));
    co_order.v_CheckStoryOrder();
    EXPECT_EQ(s_Keys(co_order), "p,l,j,h,d,a,g,k,f,e,c,i");
    co_order.v_SetStoryOrder(e_TopDown);
    EXPECT_EQ(s_Keys(co_order), "p,j,h,a,g,l,d,f,e,i,k,c");
    co_order.v_SetStoryOrder(e_Custom);
    EXPECT_EQ(s_Keys(co_order), "p,l,j,h,d,a,g,k,f,e,c,i");
    v_ExpectOnlyHeldHandles();
}

// Ties in long lists keep their sequence too, where a sort that is not stable would mix them:
// forty boxes at one place on two pages, the first check reversing each page's host sequence
// and later ones keeping it. A check after every box went empties the order.
TEST_F(StoryOrderTest, ManyBoxesAtOnePlaceKeepTheirSequenceThroughChecksAndKinds) {
    std::vector<CT_MemoryBox> co_boxes;
    for (int n = 0; n < 40; ++n) {
        co_boxes.push_back(so_OnPage("k" + std::to_string(n), 1 + n % 2, 0, 0));
    }
    std::string s_expected;
    for (int n : {38, 39}) {
        for (; n >= 0; n -= 2) {
            s_expected += (s_expected.empty() ? "k" : ",k") + std::to_string(n);
        }
    }
    v_OpenDocument(co_boxes);
    CT_StoryOrder& co_order = co_NewOrder();
    co_order.v_CheckStoryOrder();
    EXPECT_EQ(s_Keys(co_order), s_expected);
    co_order.v_SetStoryOrder(e_LeftRight);
    EXPECT_EQ(s_Keys(co_order), s_expected);
    co_order.v_CheckStoryOrder();
    EXPECT_EQ(s_Keys(co_order), s_expected);
    co_order.v_SetStoryOrder(e_Custom);
    EXPECT_EQ(s_Keys(co_order), s_expected);
    v_ExpectOnlyHeldHandles();

    co_LiveBoxes().clear();
    co_order.v_CheckStoryOrder();
    EXPECT_EQ(co_order.b_IsEmpty(), 1);
    v_ExpectOnlyHeldHandles();
}

TEST_F(StoryOrderTest, HostFailureDuringACheckKeepsTheOldBoxes) {
    v_OpenTwoPages();
    CT_StoryOrder& co_order = co_NewOrder();
    co_order.v_CheckStoryOrder();
    co_LiveBoxes().push_back(so_OnPage("N", 1, 0, 5));

    co_Host.v_FailOn("p_GetCurrentBox", 4);
    EXPECT_THROW(co_order.v_CheckStoryOrder(), et_ErrorCode);
    EXPECT_EQ(s_Keys(co_order), "A,B,C,X,Y");
    v_ExpectOnlyHeldHandles();

    co_Host.v_FailOn("b_IsEqualBox", 3);
    EXPECT_THROW(co_order.v_CheckStoryOrder(), et_ErrorCode);
    EXPECT_EQ(s_Keys(co_order), "A,B,C,X,Y");
    v_ExpectOnlyHeldHandles();

    co_order.v_CheckStoryOrder();
    EXPECT_EQ(s_Keys(co_order), "A,N,B,C,X,Y");
    v_ExpectOnlyHeldHandles();
}

}  // namespace
