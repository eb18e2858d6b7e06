#include "textbox/ct_text_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/common/ct_error_code.h"
#include "tests/textbox/ct_host_fixture.h"

namespace {

class TextBoxTest : public CT_HostFixture {};

std::string s_Text(const CT_TextBox& co_Box, int b_Cached) {
    CT_String co_text;
    co_Box.v_GetText(co_text, b_Cached);
    return std::string(co_text.sv());
}

TEST_F(TextBoxTest, PreviewKeepsTwentyCharactersAndFullTextIsAskedAgain) {
    v_OpenDocument({so_OnPage("lines", 1, 0, 0, "Hello\nWorld"),
                    so_OnPage("exact", 1, 0, 0, "abcdefghijklmnopqrst"),
                    so_OnPage("long", 1, 0, 0, "abcdefghijklmnopqrstu"),
                    so_OnPage("utf8", 1, 0, 0, "Grüße aus Köln und München")});
    auto co_boxes = co_TakeBoxes();
    std::vector<std::string> co_previews;
    for (const auto& pco_box : co_boxes) {
        co_previews.push_back(s_Text(*pco_box, 1));
    }
    EXPECT_EQ(co_previews,
              (std::vector<std::string>{"Hello World", "abcdefghijklmnopqrst",
                                        "abcdefghijklmnopqrst...", "Grüße aus Köln und M..."}));

    co_LiveBoxes()[0].s_Content = std::string(10001, 'x');
    EXPECT_EQ(s_Text(*co_boxes[0], 1), "Hello World");
    std::vector<char16_t> co_wide(CT_TextBox::sn_UTextCapacity, u'#');
    CT_String co_text;
    co_boxes[0]->v_GetText(co_text, co_wide.data(), 1);
    EXPECT_EQ(co_wide[0], u'#');
    co_boxes[0]->v_GetText(co_text, co_wide.data(), 0);
    EXPECT_EQ(std::string(co_text.sv()), std::string(10000, 'x') + "...");
    EXPECT_EQ(std::u16string(co_wide.data()), std::u16string(10000, u'x') + u"...");
}

// Whether each of the two boxes sorts after the other: {first after second, second after first}.
std::vector<int> co_TopDown(CT_TextBox& co_First, CT_TextBox& co_Second) {
    return {co_First.b_CompareTopDown(&co_Second), co_Second.b_CompareTopDown(&co_First)};
}
std::vector<int> co_LeftRight(CT_TextBox& co_First, CT_TextBox& co_Second) {
    return {co_First.b_CompareLeftRight(&co_Second), co_Second.b_CompareLeftRight(&co_First)};
}

TEST_F(TextBoxTest, ComparisonsOrderByVirtualPageThenExactPosition) {
    v_OpenDocument({so_OnMaster("m1", 1, "A"), so_OnMaster("m0", 0, "A"), so_OnPasteBoard("pb"),
                    so_OnPage("A", 1, 50, 100), so_OnPage("same", 1, 50, 100),
                    so_OnPage("D", 1, 300, 20), so_OnPage("G", 1, 10, 101)});
    auto co_boxes = co_TakeBoxes();
    CT_TextBox &co_m1 = *co_boxes[0], &co_m0 = *co_boxes[1], &co_pb = *co_boxes[2],
               &co_a = *co_boxes[3], &co_same = *co_boxes[4], &co_d = *co_boxes[5],
               &co_g = *co_boxes[6];
    // Higher master page first, then the pasteboard, then the document pages.
    EXPECT_EQ(co_TopDown(co_m1, co_m0), (std::vector<int>{0, 1}));
    EXPECT_EQ(co_LeftRight(co_m0, co_pb), (std::vector<int>{0, 1}));
    EXPECT_EQ(co_TopDown(co_pb, co_a), (std::vector<int>{0, 1}));
    EXPECT_EQ(co_TopDown(co_a, co_same), (std::vector<int>{0, 0}));
    EXPECT_EQ(co_LeftRight(co_a, co_same), (std::vector<int>{0, 0}));
    // D is higher but further right; G is one unit lower, however far left.
    EXPECT_EQ(co_TopDown(co_d, co_a), (std::vector<int>{0, 1}));
    EXPECT_EQ(co_LeftRight(co_d, co_a), (std::vector<int>{1, 0}));
    EXPECT_EQ(co_TopDown(co_g, co_a), (std::vector<int>{1, 0}));
    EXPECT_EQ(co_LeftRight(co_g, co_a), (std::vector<int>{0, 1}));
}

TEST_F(TextBoxTest, HandlesAreComparedByTheHostAndReleasedOnce) {
    v_OpenDocument({so_OnPasteBoard("pb"), so_OnPage("A", 1, 0, 0, "alpha")});
    auto co_first = co_TakeBoxes();
    auto co_second = co_TakeBoxes();
    EXPECT_NE(*co_first[1] == *co_second[1], 0);
    EXPECT_EQ(*co_first[0] == *co_second[1], 0);

    CT_DocumentInterface::v_GenerateBoxList(1);  // without the pasteboard
    EXPECT_EQ(co_first[0]->b_Exist(), 0);
    EXPECT_EQ(co_first[1]->b_Exist(), 1);
    EXPECT_EQ(co_Host.n_LiveBoxHandles(), 4);  // compared handles were given back

    // Setting another handle (here none) gives the first back; the cached values stay.
    co_first[1]->v_Set(nullptr, 0);
    EXPECT_EQ(co_Host.n_LiveBoxHandles(), 3);
    EXPECT_EQ(s_Text(*co_first[1], 1), "alpha");

    co_Host.v_FailOn("co_GetKey", 1);
    CT_DocumentInterface::v_GenerateBoxList(0);
    CT_DocumentInterface::v_ResetBoxList();
    EXPECT_THROW(CT_TextBox co_failed(CT_DocumentInterface::p_GetCurrentBox()), et_ErrorCode);
    EXPECT_EQ(co_Host.n_LiveBoxHandles(), 3);
}

}  // namespace
