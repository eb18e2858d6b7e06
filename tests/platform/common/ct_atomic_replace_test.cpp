// Replacing a file when the disk fails at each step: the old file stays as it was, no
// temporary (nor the run's folder that held it) is left beside it, and the error names the file
// and the system's reason.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <set>
#include <string>

#include "platform/common/ct_errors.h"
#include "platform/common/ct_files.h"
#include "tests/platform/common/ct_failing_os_call.h"
#include "tests/platform/common/ct_temp_folder.h"

namespace {

class AtomicReplaceFaults : public ::testing::TestWithParam<CT_OsFault> {
  protected:
    CT_TempFolder co_Dir;
    const CT_FailingOsCall co_Failing{GetParam()};
};

TEST_P(AtomicReplaceFaults, TheOldFileStaysAndNothingIsLeftBeside) {
    co_Dir.v_Put("t.stt", "old");
    CT_Files co_File;
    et_ErrorCode eo_Code = e_NoError;
    try {
        co_File.v_Open(CT_String((co_Dir / "t.stt").c_str()), e_OpenWrite, 1);
        co_File.v_Write(CT_String("new content"));
        co_File.v_Close();
    } catch (et_ErrorCode eo_Raised) {
        eo_Code = eo_Raised;
    }
    EXPECT_EQ(eo_Code, GetParam().eo_Expected);
    const std::string s_Text(CT_Errors::cco_GetLastError().sv());
    EXPECT_NE(s_Text.find(co_Dir / "t.stt"), std::string::npos) << s_Text;
    // A full disk is said in plain words, not as "No space left on device".
    const std::string s_reason =
        GetParam().i_Errno == ENOSPC ? "the disk is full" : std::strerror(GetParam().i_Errno);
    EXPECT_EQ(s_Text.substr(s_Text.size() - s_reason.size() - 2), ": " + s_reason) << s_Text;
    EXPECT_EQ(co_Dir.co_Get("t.stt"), "old");
    EXPECT_EQ(co_Dir.co_Names(), std::set<std::string>{"t.stt"});
}

INSTANTIATE_TEST_SUITE_P(Calls, AtomicReplaceFaults,
                         ::testing::Values(CT_OsFault{"write", ENOSPC, e_FileWrite},
                                           CT_OsFault{"fsync", EIO, e_FileWrite},
                                           CT_OsFault{"rename", EXDEV, e_FileReplace}),
                         [](const ::testing::TestParamInfo<CT_OsFault>& co_Info) {
                             return co_Info.param.pc_Call;
                         });

}  // namespace
