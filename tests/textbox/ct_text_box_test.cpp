#include "textbox/ct_text_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/common/ct_error_code.h"
#include "tests/textbox/ct_host_fixture.h"

namespace {

class TextBoxTest : public CT_HostFixture {};

std::string s_Preview(const CT_TextBox& co_Box) {
    CT_String co_text;
    co_Box.v_GetText(co_text, 1);
    return std::string(co_text.sv());
}

TEST_F(TextBoxTest, PreviewKeepsTwentyCharactersAndMarksOnlyTextThatGoesOn) {
    v_OpenDocument({so_OnPage("lines", 1, 0, 0, "Hello\nWorld"),
                    so_OnPage("exact", 1, 0, 0, "abcdefghijklmnopqrst"),
                    so_OnPage("long", 1, 0, 0, "abcdefghijklmnopqrstu"),
                    so_OnPage("utf8", 1, 0, 0, "Grüße aus Köln und München"),
                    so_OnPage("empty", 1, 0, 0, "")});
    auto co_boxes = co_TakeBoxes();
    ASSERT_EQ(co_boxes.size(), 5u);
    EXPECT_EQ(s_Preview(*co_boxes[0]), "Hello World");
    EXPECT_EQ(s_Preview(*co_boxes[1]), "abcdefghijklmnopqrst");
    EXPECT_EQ(s_Preview(*co_boxes[2]), "abcdefghijklmnopqrst...");
    EXPECT_EQ(s_Preview(*co_boxes[3]), "Grüße aus Köln und M...");
    EXPECT_EQ(s_Preview(*co_boxes[4]), "");
    EXPECT_EQ(std::string(co_boxes[3]->cco_GetKey().sv()), "utf8");
}

TEST_F(TextBoxTest, FullTextIsAskedAgainWhilePreviewStaysAsCached) {
    v_OpenDocument({so_OnPage("A", 1, 0, 0, "first words")});
    auto co_boxes = co_TakeBoxes();
    co_LiveBoxes()[0].s_Content = std::string(10001, 'x');

    EXPECT_EQ(s_Preview(*co_boxes[0]), "first words");
    CT_String co_text;
    std::vector<char16_t> co_wide(CT_TextBox::sn_UTextCapacity, u'#');
    co_boxes[0]->v_GetText(co_text, co_wide.data(), 1);
    EXPECT_EQ(std::string(co_text.sv()), "first words");
    EXPECT_EQ(co_wide[0], u'#');  // cached: the 16-bit buffer is not touched

    co_boxes[0]->v_GetText(co_text, co_wide.data(), 0);
    EXPECT_EQ(std::string(co_text.sv()), std::string(10000, 'x') + "...");
    EXPECT_EQ(std::u16string(co_wide.data()), std::u16string(10000, u'x') + u"...");
}

TEST_F(TextBoxTest, VirtualPageEncodesMasterPagesPasteboardAndDocumentPages) {
    CT_MemoryBox co_both = so_OnMaster("both", 3, "B-Master");
    co_both.b_OnPasteBoard = true;
    v_OpenDocument({so_OnPage("p12", 12, 0, 0), so_OnMaster("m0", 0, "A-Master"),
                    so_OnMaster("m1", 1, "A-Master"), so_OnPasteBoard("pb"), co_both});
    auto co_boxes = co_TakeBoxes();
    std::vector<std::vector<int>> co_seen;
    for (const auto& pco_box : co_boxes) {
        co_seen.push_back({pco_box->i_GetVirtualPage(), pco_box->i_GetPage(),
                           pco_box->b_IsOnMasterPage(), pco_box->b_IsOnPasteBoard(),
                           pco_box->b_IsOnPage()});
    }
    EXPECT_EQ(co_seen, (std::vector<std::vector<int>>{{12, 12, 0, 0, 1},
                                                      {-1, -1, 1, 0, 0},
                                                      {-2, -1, 1, 0, 0},
                                                      {0, 0, 0, 1, 0},
                                                      {0, 0, 0, 1, 0}}));
}

TEST_F(TextBoxTest, ComparisonsOrderByVirtualPageThenExactPosition) {
    v_OpenDocument({so_OnMaster("m1", 1, "A"), so_OnMaster("m0", 0, "A"), so_OnPasteBoard("pb"),
                    so_OnPage("A", 1, 50, 100), so_OnPage("same", 1, 50, 100),
                    so_OnPage("D", 1, 300, 20), so_OnPage("G", 1, 10, 101),
                    so_OnPage("p2", 2, 0, 0)});
    auto co_boxes = co_TakeBoxes();
    CT_TextBox &co_m1 = *co_boxes[0], &co_m0 = *co_boxes[1], &co_pb = *co_boxes[2],
               &co_a = *co_boxes[3], &co_same = *co_boxes[4], &co_d = *co_boxes[5],
               &co_g = *co_boxes[6], &co_p2 = *co_boxes[7];

    // Higher master page first, then the pasteboard, then the document pages.
    EXPECT_EQ(co_m0.b_CompareTopDown(&co_m1), 1);
    EXPECT_EQ(co_m1.b_CompareTopDown(&co_m0), 0);
    EXPECT_EQ(co_pb.b_CompareLeftRight(&co_m0), 1);
    EXPECT_EQ(co_a.b_CompareTopDown(&co_pb), 1);
    EXPECT_EQ(co_p2.b_CompareTopDown(&co_d), 1);
    EXPECT_EQ(co_d.b_CompareLeftRight(&co_p2), 0);

    // Same page and place: neither sorts after the other.
    EXPECT_EQ(co_a.b_CompareTopDown(&co_same) + co_same.b_CompareTopDown(&co_a), 0);
    EXPECT_EQ(co_a.b_CompareLeftRight(&co_same) + co_same.b_CompareLeftRight(&co_a), 0);

    // D is higher but further right.
    EXPECT_EQ(co_a.b_CompareTopDown(&co_d), 1);
    EXPECT_EQ(co_d.b_CompareLeftRight(&co_a), 1);
    // One unit lower is lower, however far left: no tolerance.
    EXPECT_EQ(co_g.b_CompareTopDown(&co_a), 1);
    EXPECT_EQ(co_a.b_CompareLeftRight(&co_g), 1);
}

TEST_F(TextBoxTest, IdentityAndExistenceAskTheHostAndGiveBackComparedHandles) {
    v_OpenDocument({so_OnPasteBoard("pb"), so_OnPage("A", 1, 0, 0)});
    auto co_first = co_TakeBoxes();
    auto co_second = co_TakeBoxes();
    EXPECT_NE(*co_first[1] == *co_second[1], 0);
    EXPECT_EQ(*co_first[0] == *co_second[1], 0);

    CT_DocumentInterface::v_GenerateBoxList(1);  // without the pasteboard
    EXPECT_EQ(co_first[0]->b_Exist(), 0);
    EXPECT_NE(co_first[1]->b_Exist(), 0);
    EXPECT_EQ(co_Host.n_LiveBoxHandles(), 4);

    co_LiveBoxes().pop_back();
    CT_DocumentInterface::v_GenerateBoxList(1);
    co_Host.v_ClearJournal();
    EXPECT_EQ(co_first[0]->b_Exist(), 0);
    EXPECT_EQ(co_Host.co_Journal(), std::vector<std::string>{"b_IsBoxListEmpty"});
}

TEST_F(TextBoxTest, EveryHandleIsReleasedOnceWhateverHappensToTheBox) {
    co_Host.v_ClearJournal();
    { CT_TextBox co_empty; }
    EXPECT_TRUE(co_Host.co_Journal().empty());

    v_OpenDocument({so_OnPage("A", 1, 0, 0, "alpha"), so_OnPage("B", 2, 0, 0, "beta")});
    CT_DocumentInterface::v_GenerateBoxList(0);
    CT_DocumentInterface::v_ResetBoxList();
    void* p_a = CT_DocumentInterface::p_GetCurrentBox();
    CT_DocumentInterface::b_NextTextBox();
    void* p_b = CT_DocumentInterface::p_GetCurrentBox();
    {
        CT_TextBox co_box;
        co_box.v_Set(p_a, 1);
        co_box.v_Set(p_a, 1);  // the same handle again: kept
        EXPECT_EQ(co_Host.n_LiveBoxHandles(), 2);
        co_box.v_Set(p_b, 0);  // another handle: the first goes back, cached values stay
        EXPECT_EQ(co_Host.n_LiveBoxHandles(), 1);
        EXPECT_EQ(std::string(co_box.cco_GetKey().sv()), "A");
        EXPECT_EQ(s_Preview(co_box), "alpha");
    }
    EXPECT_EQ(co_Host.n_LiveBoxHandles(), 0);

    co_Host.v_FailOn("co_GetKey", 1);
    CT_DocumentInterface::v_ResetBoxList();
    EXPECT_THROW(CT_TextBox co_failed(CT_DocumentInterface::p_GetCurrentBox()), et_ErrorCode);
    EXPECT_EQ(co_Host.n_LiveBoxHandles(), 0);
}

}  // namespace
