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
