// Saving a package when the disk fails as it is written, at the flush or the rename: the package on
// disk stays as it was, nothing is left beside it, the document stays open with its changes and a
// later save succeeds.
#include <cerrno>

#include "tests/platform/common/ct_failing_os_call.h"
#include "tests/platform/host/idml/ct_idml_test_support.h"

using namespace idml_test;

namespace {

class CT_IdmlSaveFault : public CT_HostTest, public ::testing::WithParamInterface<CT_OsFault> {
  protected:
    CT_TempDir co_Dir;
};

TEST_P(CT_IdmlSaveFault, TheOldPackageStaysAndALaterSaveWorks) {
    const fs::path co_File = co_Dir / "a.idml";
    v_WriteZip(co_File, co_SmallPackage({{"k1", "<Content>Old</Content>"}}));
    const std::string s_Before = s_ReadFile(co_File);
    v_Open(co_File);
    v_ImportAll(co_Dir / "t.stt", {{"k1", "New"}});
    fs::remove(co_Dir / "t.stt");

    void* p_Document = co_Host.p_GetCurrentDocument();
    et_ErrorCode eo_Code = e_NoError;
    try {
        const CT_FailingOsCall co_failing(GetParam());
        co_Host.v_Save(p_Document);
    } catch (et_ErrorCode eo_Raised) {
        eo_Code = eo_Raised;
    }
    EXPECT_EQ(eo_Code, GetParam().eo_Expected);
    const std::string s_error(CT_Errors::cco_GetLastError().sv());
    EXPECT_NE(s_error.find(co_File.string()), std::string::npos);
    // In the words of the system's reason, never the zip library's.
    EXPECT_EQ(s_error.find("error:"), std::string::npos) << s_error;
    EXPECT_EQ(s_ReadFile(co_File), s_Before);
    EXPECT_EQ(co_Dir.n_Files(), 1u);

    co_Host.v_Save(p_Document);
    co_Host.v_Release(p_Document);
    v_CloseActive(0);
    EXPECT_NE(co_ReadZip(co_File)[3].s_Bytes.find("<Content>New</Content>"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Calls, CT_IdmlSaveFault,
                         ::testing::Values(CT_OsFault{"write", ENOSPC, e_FileWrite},
                                           CT_OsFault{"fsync", EIO, e_FileWrite},
                                           CT_OsFault{"rename", ENOSPC, e_FileReplace}),
                         [](const ::testing::TestParamInfo<CT_OsFault>& co_Info) {
                             return co_Info.param.pc_Call;
                         });

}  // namespace
