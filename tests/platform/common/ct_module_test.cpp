#include "platform/common/ct_module.h"

#include <gtest/gtest.h>

#include <string>

namespace {
// Two-, three- and four-byte characters, the last a surrogate pair in 16-bit text.
const CT_StringTableEntry gco_Table[] = {
    {1, "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z"},
    {2, "Story %: % left"},
    {3, "bad \xFF end"},
};
const int gi_Module = 0;

class ModuleTest : public ::testing::Test {
  protected:
    ModuleTest() { CT_Module::sv_Register(&gi_Module, gco_Table, 3); }
    ~ModuleTest() override { CT_Module::sv_Unregister(&gi_Module); }
};

TEST_F(ModuleTest, WideTextIsCutBeforeTheCapacityAndNeverInsideAPair) {
    const std::u16string co_whole = u"a\u00E9\u20AC\U0001F600z";
    const int ai_expected[] = {0, 0, 1, 2, 3, 3, 5, 6, 6};
    for (int i_capacity = 0; i_capacity <= 8; ++i_capacity) {
        char16_t auz_buffer[10];
        std::fill(std::begin(auz_buffer), std::end(auz_buffer), u'#');
        int i_copied = CT_Module::si_LoadWideString(&gi_Module, 1, auz_buffer, i_capacity);
        EXPECT_EQ(ai_expected[i_capacity], i_copied) << i_capacity;
        EXPECT_EQ(u'#', auz_buffer[i_capacity]) << i_capacity;
        if (i_capacity > 0) {
            EXPECT_EQ(co_whole.substr(0, i_copied), std::u16string(auz_buffer)) << i_capacity;
        }
    }
    char16_t auz_buffer[8] = {u'#'};
    EXPECT_EQ(0, CT_Module::si_LoadWideString(&gi_Module, 99, auz_buffer, 8));
    EXPECT_EQ(u'\0', auz_buffer[0]);
    EXPECT_EQ(7, CT_Module::si_LoadWideString(&gi_Module, 3, auz_buffer, 8));
    EXPECT_EQ(u"bad \uFFFD e", std::u16string(auz_buffer));
}

}  // namespace
