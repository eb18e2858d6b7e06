#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/textbox/ct_host_fixture.h"
#include "textbox/ct_page.h"
#include "textbox/ct_text_box.h"

namespace {

class ListLabelsTest : public CT_HostFixture {};

std::string s_Label(CT_TextBox& co_Box, unsigned n_Index) {
    co_Box.v_SetListLabel(n_Index);
    return std::string(co_Box.cco_GetListLabel().sv());
}

std::u16string s_ULabel(CT_TextBox& co_Box, unsigned n_Index) {
    co_Box.v_SetUListLabel(n_Index);
    return std::u16string(co_Box.qcuz_GetUListLabel());
}

TEST_F(ListLabelsTest, StoryLabelsNumberFromOneAndFitTheWideBuffer) {
    v_OpenDocument({so_OnPage("cut", 1, 0, 0, "12345678901234567890XYZ"),
                    so_OnPage("utf8", 1, 0, 0, "Grüße aus Köln und München")});
    auto co_boxes = co_TakeBoxes();
    CT_TextBox& co_cut = *co_boxes[0];

    EXPECT_EQ(s_Label(co_cut, 0), "Story 1: 12345678901234567890...");
    EXPECT_EQ(s_Label(co_cut, 998), "Story 999: 12345678901234567890...");
    EXPECT_EQ(s_Label(co_cut, 999), "Story 1000: 12345678901234567890...");
    EXPECT_EQ(s_ULabel(co_cut, 0), u"Story 1: 12345678901234567890...");
    EXPECT_EQ(s_ULabel(co_cut, 998), u"Story 999: 12345678901234567890...");
    // Four digits no longer fit 35 units with a full preview: cut at 34 and the terminator.
    EXPECT_EQ(s_ULabel(co_cut, 999), u"Story 1000: 12345678901234567890..");
    EXPECT_EQ(s_Label(*co_boxes[1], 1), "Story 2: Grüße aus Köln und M...");
    EXPECT_EQ(s_ULabel(*co_boxes[1], 1), u"Story 2: Grüße aus Köln und M...");
}

TEST_F(ListLabelsTest, BoxNeverCachedHasAnEmptyWideLabel) {
    CT_TextBox co_box;
    EXPECT_EQ(s_ULabel(co_box, 0), u"");
    EXPECT_EQ(s_Label(co_box, 0), "Story 1: ");
}

// A box on the pasteboard that is also on a master page belongs to the pasteboard's group.
TEST_F(ListLabelsTest, PagesShowTheirGroup) {
    std::vector<CT_Page> co_pages{CT_Page(-1), CT_Page(0), CT_Page(5)};
    v_OpenDocument({so_OnMaster("m0", 0, "A"), so_OnMaster("m3", 3, "B"), so_OnPasteBoard("pb"),
                    so_OnPasteBoard("both", true), so_OnPage("p5", 5, 0, 0),
                    so_OnPage("p6", 6, 0, 0)});
    auto co_boxes = co_TakeBoxes();
    std::vector<std::string> co_groups;
    for (CT_Page& co_page : co_pages) {
        std::string s_members;
        for (const auto& pco_box : co_boxes) {
            if (co_page.b_IsOnThisPage(pco_box.get())) {
                s_members += std::string(pco_box->cco_GetKey().sv()) + " ";
            }
        }
        co_groups.push_back(s_members);
    }
    EXPECT_EQ(co_groups, (std::vector<std::string>{"m0 m3 ", "pb both ", "p5 "}));
}

}  // namespace
