#include "resources/ct_string_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/common/ct_res_string.h"
#include "resources/ct_library.h"

namespace {
TEST(StringTableTest, KernelModuleIsAttachedAtLoad) {
    ASSERT_NE(nullptr, CT_Library::sp_GetModule());
    CT_ResString co_message(CT_Library::sp_GetModule(), 124);
    EXPECT_EQ("Batch finished but contains one or more errors (see above).",
              co_message.cco_Get().sv());
    EXPECT_EQ("Error: cannot open",
              CT_ResString(CT_Library::sp_GetModule(), 120).cco_Get("cannot open").sv());
    EXPECT_EQ("12 stories have been exported.",
              CT_ResString(CT_Library::sp_GetModule(), 102).cco_Get(12u).sv());
}

TEST(StringTableTest, EveryEntryLoadsNarrowAndWideWithinCapacity) {
    ASSERT_EQ(23u, gn_KernelStringTableSize);
    for (std::size_t n = 0; n < gn_KernelStringTableSize; ++n) {
        const CT_StringTableEntry& co_entry = g_KernelStringTable[n];
        const std::string co_text(co_entry.pc_Text);
        CT_String co_narrow;
        ASSERT_EQ(1,
                  CT_Module::sb_LoadString(CT_Library::sp_GetModule(), co_entry.n_Id, co_narrow));
        EXPECT_EQ(co_text, co_narrow.sv());
        // The messages are ASCII: one 16-bit unit per byte.
        const std::u16string co_wide(co_text.begin(), co_text.end());
        for (int i_capacity : {1, 2, 5, static_cast<int>(co_text.size()),
                               static_cast<int>(co_text.size()) + 1, 200}) {
            std::vector<char16_t> co_buffer(static_cast<std::size_t>(i_capacity) + 1, u'#');
            int i_copied = CT_Module::si_LoadWideString(CT_Library::sp_GetModule(), co_entry.n_Id,
                                                        co_buffer.data(), i_capacity);
            const int i_expected = std::min<int>(i_capacity - 1, static_cast<int>(co_text.size()));
            EXPECT_EQ(i_expected, i_copied) << co_entry.n_Id << " " << i_capacity;
            EXPECT_EQ(co_wide.substr(0, i_expected), std::u16string(co_buffer.data()));
            EXPECT_EQ(u'#', co_buffer.back()) << co_entry.n_Id << " " << i_capacity;
        }
    }
}
}  // namespace
