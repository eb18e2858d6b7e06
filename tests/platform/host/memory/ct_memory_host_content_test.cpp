// Reading a box's text: limits, continuation and previews, narrow and 16-bit.
#include <algorithm>
#include <iterator>
#include <string>

#include "platform/host/ct_box_interface.h"
#include "platform/host/ct_document_interface.h"
#include "tests/platform/host/memory/ct_memory_host_fixture.h"

namespace {
// 14 code points, 15 UTF-16 units: the emoji needs a surrogate pair.
const char* const spc_Mixed = "Grüße\tan 世界 😀!";

class MemoryHostContent : public CT_MemoryHostFixture {
  protected:
    void SetUp() override {
        CT_MemoryHostFixture::SetUp();
        co_Host.v_PutDocument("/d/a.indd", {co_Box("A", spc_Mixed), co_Box("E", ""),
                                            co_Box("L", "one\r\ntwo\tthree")});
        p_Document = CT_DocumentInterface::p_Open(CT_String("/d/a.indd"), 1);
        CT_DocumentInterface::v_GenerateBoxList(0);
        for (void** pp_Box : {&p_Mixed, &p_Empty, &p_Lines}) {
            *pp_Box = CT_DocumentInterface::p_GetCurrentBox();
            CT_DocumentInterface::b_NextTextBox();
        }
    }
    void TearDown() override {
        for (void** pp_Box : {&p_Mixed, &p_Empty, &p_Lines}) {
            CT_BoxInterface::sv_ReleaseBox(*pp_Box);
        }
        CT_DocumentInterface::v_Release(p_Document);
        CT_MemoryHostFixture::TearDown();
    }

    std::string s_Narrow(void* p_Box, unsigned n_Limit, int b_Preview, int& b_More) {
        CT_String co_Text("stale");
        b_More = CT_BoxInterface::sb_GetContent(co_Text, p_Box, n_Limit, b_Preview, 0);
        return std::string(co_Text.sv());
    }

    // The units written, up to the terminator; b_Guard tells whether the unit after the
    // terminator is still untouched.
    std::u16string s_Wide(void* p_Box, unsigned n_Limit, int b_Preview, int& b_More,
                          bool& b_Guard) {
        char16_t auz_Buffer[32];
        std::fill(std::begin(auz_Buffer), std::end(auz_Buffer), u'#');
        b_More = CT_BoxInterface::sb_GetContent(auz_Buffer, p_Box, n_Limit, b_Preview, 0);
        const std::u16string co_Text(auz_Buffer);
        b_Guard = auz_Buffer[co_Text.size() + 1] == u'#';
        return co_Text;
    }

    void* p_Document = nullptr;
    void* p_Mixed = nullptr;
    void* p_Empty = nullptr;
    void* p_Lines = nullptr;
};

TEST_F(MemoryHostContent, NarrowLimitCountsCodePointsAndReportsContinuation) {
    int b_More = 0;
    EXPECT_EQ(s_Narrow(p_Mixed, 5, 0, b_More), "Grüße");
    EXPECT_NE(b_More, 0);
    EXPECT_EQ(s_Narrow(p_Mixed, 13, 0, b_More), "Grüße\tan 世界 😀");
    EXPECT_NE(b_More, 0);
    EXPECT_EQ(s_Narrow(p_Mixed, 14, 0, b_More), spc_Mixed);
    EXPECT_EQ(b_More, 0);
    EXPECT_EQ(s_Narrow(p_Mixed, 0, 0, b_More), "");
    EXPECT_NE(b_More, 0);
    EXPECT_EQ(s_Narrow(p_Empty, 0, 0, b_More), "");
    EXPECT_EQ(b_More, 0);
    // The preview changes only what is handed out.
    EXPECT_EQ(s_Narrow(p_Lines, 20, 1, b_More), "one  two three");
    EXPECT_EQ(co_Host.s_Content("/d/a.indd", "L"), "one\r\ntwo\tthree");
}

TEST_F(MemoryHostContent, WideLimitCountsUnitsAndNeverSplitsAPair) {
    int b_More = 0;
    bool b_Guard = false;
    EXPECT_EQ(s_Wide(p_Mixed, 13, 0, b_More, b_Guard), u"Grüße\tan 世界 ");
    EXPECT_NE(b_More, 0);
    EXPECT_TRUE(b_Guard);
    EXPECT_EQ(s_Wide(p_Mixed, 15, 0, b_More, b_Guard), u"Grüße\tan 世界 😀!");
    EXPECT_EQ(b_More, 0);
    EXPECT_TRUE(b_Guard);
    EXPECT_EQ(s_Wide(p_Empty, 20, 0, b_More, b_Guard), u"");
    EXPECT_EQ(b_More, 0);
}

}  // namespace
