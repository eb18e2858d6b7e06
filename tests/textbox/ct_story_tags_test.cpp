#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/common/ct_files.h"
#include "platform/host/memory/ct_memory_host.h"
#include "tests/platform/common/ct_temp_folder.h"
#include "tests/textbox/ct_host_fixture.h"
#include "textbox/ct_text_box.h"

namespace {

class StoryTagsTest : public CT_HostFixture {
  protected:
    // Writes the boxes' stories between the host's version tags, as a document export does;
    // returns the b_Export results.
    std::vector<int> co_Export(const std::vector<std::unique_ptr<CT_TextBox>>& co_Boxes) {
        std::vector<int> co_results;
        CT_Files co_file;
        co_file.v_Open(CT_String(s_File.c_str(), 0), e_OpenWrite, 1);
        CT_TextBox::v_SetFile(co_file);
        co_file.v_Write(CT_String(CT_MemoryHost::spc_OpenTag, 0));
        for (const auto& pco_box : co_Boxes) {
            co_results.push_back(pco_box->b_Export());
        }
        co_file.v_Write(CT_String(CT_MemoryHost::spc_CloseTag, 0));
        co_file.v_Close();
        return co_results;
    }

    // Reads every story back into the box with its key; returns the keys in file order, each
    // marked "!" when its box's import answered cancel or failure.
    std::vector<std::string> co_Import(const std::vector<std::unique_ptr<CT_TextBox>>& co_Boxes) {
        std::vector<std::string> co_keys;
        CT_Files co_file;
        co_file.v_Open(CT_String(s_File.c_str(), 0), e_OpenRead, 0);
        CT_TextBox::v_SetFile(co_file);
        CT_String co_key;
        while (CT_TextBox::b_GetNextBoxKey(co_key)) {
            co_keys.emplace_back(co_key.sv());
            for (const auto& pco_box : co_Boxes) {
                if (pco_box->b_IsThisBox(co_key) && pco_box->b_Import()) {
                    co_keys.back() += "!";
                }
            }
        }
        co_file.v_Close();
        return co_keys;
    }

    std::string s_FileBytes() const { return co_Dir.co_Get("stories.mtt"); }
    void v_WriteFile(const std::string& s_Bytes) const { co_Dir.v_Put("stories.mtt", s_Bytes); }

    CT_TempFolder co_Dir;
    const std::string s_File = co_Dir / "stories.mtt";
};

std::string s_LargeStory() {
    std::string s_story;
    while (s_story.size() <= (1u << 20)) {
        s_story += "Zeile für Zeile, line after line <b>\n";
    }
    return s_story;
}

TEST_F(StoryTagsTest, ExportWritesTheLayoutAndImportGivesEveryStoryBackByteForByte) {
    const std::string s_large = s_LargeStory();
    v_OpenDocument({so_OnPage("u12", 12, 0, 0, "Twelve"), so_OnMaster("m1", 1, "A-Master"),
                    so_OnPasteBoard("pb"), so_OnPage("e3", 3, 0, 0, ""),
                    so_OnPage("big", 4, 0, 0, s_large)});
    co_LiveBoxes()[1].s_Content = "Master text";
    co_LiveBoxes()[2].s_Content = "Grüße, 東京 \xF0\x9F\x98\x80";
    const std::vector<CT_MemoryBox> co_original = co_LiveBoxes();
    auto co_boxes = co_TakeBoxes();

    EXPECT_EQ(co_Export(co_boxes), (std::vector<int>{1, 1, 1, 1, 1}));
    EXPECT_EQ(s_FileBytes(),
              "<MEMORY-TAGGED-TEXT 1.0>"
              "<STORY NAME=\"u12\" LOCATION=\"P12\">Twelve</STORY>\n\n\n"
              "<STORY NAME=\"m1\" LOCATION=\"MA-Master1\">Master text</STORY>\n\n\n"
              "<STORY NAME=\"pb\" LOCATION=\"B\">Grüße, 東京 \xF0\x9F\x98\x80</STORY>\n\n\n"
              "<STORY NAME=\"e3\" LOCATION=\"P3\"></STORY>\n\n\n"
              "<STORY NAME=\"big\" LOCATION=\"P4\">" +
                  s_large +
                  "</STORY>\n\n\n"
                  "</MEMORY-TAGGED-TEXT>");
    EXPECT_EQ(co_Host.co_Progress(), std::vector<std::string>(5, "step"));

    for (CT_MemoryBox& co_box : co_LiveBoxes()) {
        co_box.s_Content = "to be replaced";
    }
    EXPECT_EQ(co_Import(co_boxes), (std::vector<std::string>{"u12", "m1", "pb", "e3", "big"}));
    for (std::size_t n_box = 0; n_box < co_original.size(); ++n_box) {
        EXPECT_EQ(co_LiveBoxes()[n_box].s_Content, co_original[n_box].s_Content)
            << co_original[n_box].s_Key;
    }
}

// The markers of the template may stand in a key or a spread name: the tag still holds each
// text once, in its place, and the story comes back by that key.
TEST_F(StoryTagsTest, KeysAndSpreadNamesWithTheTemplateMarkersStayWhole) {
    v_OpenDocument({so_OnPage("50%", 1, 0, 0, "one"), so_OnMaster("a@b%c", 0, "%@-Master"),
                    so_OnPage("@", 2, 0, 0, "three")});
    co_LiveBoxes()[1].s_Content = "two";
    auto co_boxes = co_TakeBoxes();
    EXPECT_EQ(co_Export(co_boxes), (std::vector<int>{1, 1, 1}));
    EXPECT_EQ(s_FileBytes(),
              "<MEMORY-TAGGED-TEXT 1.0>"
              "<STORY NAME=\"50%\" LOCATION=\"P1\">one</STORY>\n\n\n"
              "<STORY NAME=\"a@b%c\" LOCATION=\"M%@-Master0\">two</STORY>\n\n\n"
              "<STORY NAME=\"@\" LOCATION=\"P2\">three</STORY>\n\n\n"
              "</MEMORY-TAGGED-TEXT>");
    EXPECT_EQ(co_Import(co_boxes), (std::vector<std::string>{"50%", "a@b%c", "@"}));
}

TEST_F(StoryTagsTest, ReaderSkipsForeignTextCutsKeysAtTheirQuoteAndHonoursCancel) {
    v_OpenDocument({so_OnPage("a", 1, 0, 0, "old a"), so_OnPage("b", 1, 0, 0, "old b")});
    auto co_boxes = co_TakeBoxes();

    v_WriteFile("");
    EXPECT_TRUE(co_Import(co_boxes).empty());
    v_WriteFile("no stories here </STORY>");
    EXPECT_TRUE(co_Import(co_boxes).empty());

    v_WriteFile(
        "header <STORY NAME=\"a\" LOCATION=\"M>x1\">new a</STORY> between "
        "<STORY NAME=\"b\"c\" LOCATION=\"P1\">new b</STORY> trailer");
    EXPECT_EQ(co_Import(co_boxes), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(co_LiveBoxes()[0].s_Content, "x1\">new a");  // ">" in the location ends the tag
    EXPECT_EQ(co_LiveBoxes()[1].s_Content, "new b");

    v_WriteFile("<STORY NAME=\"a\" LOCATION=\"P1\">newer a</STORY>");
    co_Host.v_RequestCancel();
    EXPECT_EQ(co_Import(co_boxes), std::vector<std::string>{"a!"});
    EXPECT_EQ(co_LiveBoxes()[0].s_Content, "x1\">new a");
}

}  // namespace
