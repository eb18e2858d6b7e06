// The kernel's messages are there as soon as the library is loaded, under its own module handle.
#include "resources/ct_library.h"

#include <gtest/gtest.h>

#include "platform/common/ct_res_string.h"

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

}  // namespace
