#include "platform/common/ct_log_stream.h"

#include <gtest/gtest.h>

#include "platform/common/ct_errors.h"
#include "tests/platform/common/ct_temp_folder.h"

namespace {
TEST(LogStreamTest, FileIsAppendedToAndCompleteAfterEachWrite) {
    CT_TempFolder co_dir;
    co_dir.v_Put("run.log", "earlier\n");
    CT_LogStream co_log(CT_String(co_dir.co_Path + "/run.log"));
    co_log << "one" << co_log.cco_Eof();
    EXPECT_EQ("earlier\none\n", co_dir.co_Get("run.log"));

    const std::string co_bad = co_dir / "none/run.log";
    try {
        CT_LogStream co_missing{CT_String(co_bad)};
        FAIL() << "opened " << co_bad;
    } catch (et_ErrorCode eo_code) {
        EXPECT_EQ(e_FileOpen, eo_code);
        EXPECT_EQ("cannot open \"" + co_bad + "\" for appending: No such file or directory",
                  CT_Errors::cco_GetLastError().sv());
    }
}
}  // namespace
