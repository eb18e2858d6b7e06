#include "platform/common/ct_errors.h"

#include <gtest/gtest.h>

namespace {
TEST(ErrorsTest, LastErrorIsKeptUntilResetAndRaisedAgain) {
    try {
        CT_Errors::v_ThrowError(e_UnknownKey, "key7");
    } catch (et_ErrorCode eo_code) {
        EXPECT_EQ(e_UnknownKey, eo_code);
    }
    EXPECT_EQ(e_UnknownKey, CT_Errors::set_GetLastError());
    try {
        CT_Errors::v_ThrowAgain();
    } catch (et_ErrorCode eo_code) {
        EXPECT_EQ(e_UnknownKey, eo_code);
    }
    EXPECT_EQ("key7", CT_Errors::cco_GetLastError().sv());
    CT_Errors::v_ResetError();
    EXPECT_EQ(e_NoError, CT_Errors::set_GetLastError());
    EXPECT_TRUE(CT_Errors::cco_GetLastError().empty());
}
}  // namespace
