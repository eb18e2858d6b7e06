// What a test steers and reads back: cancel, planned faults, the story counter, and stories
// written to and read from a real file.
#include <fstream>
#include <string>
#include <vector>

#include "platform/common/ct_files.h"
#include "platform/host/ct_box_interface.h"
#include "platform/host/ct_document_interface.h"
#include "platform/host/ct_listener.h"
#include "platform/host/ct_progress_listener.h"
#include "tests/platform/common/ct_temp_folder.h"
#include "tests/platform/host/memory/ct_memory_host_fixture.h"

namespace {

class CT_IdleListener : public CT_Listener {
  public:
    void operator()() override {}
};

class MemoryHostControl : public CT_MemoryHostFixture {
  protected:
    void SetUp() override {
        CT_MemoryHostFixture::SetUp();
        co_Host.v_PutDocument("/d/a.indd",
                              {co_Box("A", "Ärger"), co_Box("B", ""), co_Box("C", "zwei\nZeilen")});
        p_Document = CT_DocumentInterface::p_Open(CT_String("/d/a.indd"), 1);
        CT_DocumentInterface::v_GenerateBoxList(0);
        for (void*& p_Box : ap_Boxes) {
            p_Box = CT_DocumentInterface::p_GetCurrentBox();
            CT_DocumentInterface::b_NextTextBox();
        }
        co_Host.v_ClearJournal();
    }
    void TearDown() override {
        for (void*& p_Box : ap_Boxes) {
            CT_BoxInterface::sv_ReleaseBox(p_Box);
        }
        CT_DocumentInterface::v_Release(p_Document);
        CT_MemoryHostFixture::TearDown();
    }

    CT_String co_File(const char* pc_Name) const { return CT_String(co_Dir / pc_Name); }

    CT_TempFolder co_Dir;
    void* p_Document = nullptr;
    void* ap_Boxes[3] = {};
    CT_IdleListener co_Counting;
};

TEST_F(MemoryHostControl, CancelAnswersAfterTheChosenPollAndStays) {
    co_Host.v_CancelAfterPolls(2);
    std::vector<int> co_Answers;
    for (int n = 0; n < 4; ++n) {
        co_Answers.push_back(CT_ProgressListener::sb_IsCancel());
    }
    EXPECT_EQ(co_Answers, (std::vector<int>{0, 0, 1, 1}));
    co_Host.v_ClearCancel();
    EXPECT_EQ(CT_ProgressListener::sb_IsCancel(), 0);
}

TEST_F(MemoryHostControl, PlannedFaultsHitOnlyTheChosenCall) {
    co_Host.v_FailOn("co_GetSpreadName", 2);
    co_Host.v_FailOn("v_Save", 1, e_BadDocument);
    CT_BoxInterface::sco_GetSpreadName(ap_Boxes[0]);
    EXPECT_EQ(eo_ErrorOf([&] { CT_BoxInterface::sco_GetSpreadName(ap_Boxes[1]); }), e_HostFailure);
    EXPECT_NE(s_LastError().find("co_GetSpreadName"), std::string::npos);
    CT_BoxInterface::sco_GetSpreadName(ap_Boxes[2]);
    EXPECT_EQ(eo_ErrorOf([&] { CT_DocumentInterface::v_Save(p_Document); }), e_BadDocument);
    CT_DocumentInterface::v_Save(p_Document);
}

TEST_F(MemoryHostControl, ImportTakesExactlyTheCountedBytes) {
    co_Dir.v_Put("in.mtt", "Ölfaß</STORY>neu</STORY>\xff</STORY>");
    CT_Files co_In;
    co_In.v_Open(co_File("in.mtt"), e_OpenRead, 0);
    CT_DocumentInterface::v_PrepareForImport();

    EXPECT_EQ(CT_BoxInterface::sb_Import(ap_Boxes[1], co_In, co_In.n_CountUntil("</STORY>")), 0);
    co_In.v_MoveUntil(CT_String("</STORY>"));
    co_Host.v_RefuseOn("b_Import", 1);
    EXPECT_EQ(CT_BoxInterface::sb_Import(ap_Boxes[0], co_In, 3), 1);
    EXPECT_EQ(CT_BoxInterface::sb_Import(ap_Boxes[0], co_In, 3), 0);
    co_In.v_MoveUntil(CT_String("</STORY>"));
    EXPECT_EQ(eo_ErrorOf([&] { CT_BoxInterface::sb_Import(ap_Boxes[2], co_In, 1); }), e_BadContent);

    EXPECT_EQ(co_Host.s_Content("/d/a.indd", "B"), "Ölfaß");
    EXPECT_EQ(co_Host.s_Content("/d/a.indd", "A"), "neu");
    EXPECT_EQ(co_Host.s_Content("/d/a.indd", "C"), "zwei\nZeilen");
    EXPECT_EQ(CT_BoxInterface::sn_GetStoryCounter(), 2u);
    // Import changes the live document only.
    EXPECT_EQ(co_Host.co_SavedBoxes("/d/a.indd")[1].s_Content, "");
    co_Counting.v_StartCounting(0);
    EXPECT_EQ(CT_BoxInterface::sn_GetStoryCounter(), 2u);
    co_Counting.v_StartCounting(1);
    EXPECT_EQ(CT_BoxInterface::sn_GetStoryCounter(), 0u);
}
}  // namespace
