// Replacing a file when the disk fails at each step: the old file stays as it was, no
// temporary is left beside it, and the error names the file.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <set>
#include <string>

#include "platform/common/ct_errors.h"
#include "platform/common/ct_files.h"
#include "platform/common/internal/ct_os_file.h"
#include "tests/platform/common/ct_temp_folder.h"

namespace {

struct CT_Fault {
    const char* pc_Call;
    int i_Errno;
    et_ErrorCode eo_Expected;
};

const char* gpc_Failing = "";
int gi_Errno = 0;

int i_Hook(const char* pc_Call) {
    return std::strcmp(pc_Call, gpc_Failing) == 0 ? gi_Errno : 0;
}

class AtomicReplaceFaults : public ::testing::TestWithParam<CT_Fault> {
  protected:
    void SetUp() override {
        gpc_Failing = GetParam().pc_Call;
        gi_Errno = GetParam().i_Errno;
        CT_OsFile::sv_SetFaultHook(&i_Hook);
    }
    void TearDown() override { CT_OsFile::sv_SetFaultHook(nullptr); }
    CT_TempFolder co_Dir;
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
    EXPECT_NE(s_Text.find(std::strerror(GetParam().i_Errno)), std::string::npos) << s_Text;
    EXPECT_EQ(co_Dir.co_Get("t.stt"), "old");
    EXPECT_EQ(co_Dir.co_Names(), std::set<std::string>{"t.stt"});
}

INSTANTIATE_TEST_SUITE_P(Calls, AtomicReplaceFaults,
                         ::testing::Values(CT_Fault{"write", ENOSPC, e_FileWrite},
                                           CT_Fault{"fsync", EIO, e_FileWrite},
                                           CT_Fault{"rename", EXDEV, e_FileReplace}),
                         [](const ::testing::TestParamInfo<CT_Fault>& co_Info) {
                             return co_Info.param.pc_Call;
                         });

}  // namespace
