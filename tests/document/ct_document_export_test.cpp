// Export of a whole document: the bytes of the tagged file, the log of every outcome, and a
// file already at the target that keeps its bytes unless the export completes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "tests/document/ct_kernel_fixture.h"

using CT_DocumentExportTest = CT_KernelFixture;

TEST_F(CT_DocumentExportTest, CompleteExportWritesEveryStoryInStoryOrder) {
    co_Host.v_OpenDocument(spc_Document);
    const std::string s_file = co_Folder / "brochure.mtt";
    EXPECT_EQ(pco_Current()->b_Export(CT_String(s_file.c_str()), co_Data), 0);
    EXPECT_EQ(co_Folder.co_Get("brochure.mtt"),
              spc_OpenTag + s_Story("A", "Hello") + s_Story("B", "World") +
                  s_Story("C", "Third story", "P2") + spc_CloseTag);
    EXPECT_EQ(s_Log(), "Exporting brochure.indd...\n3 stories have been exported.\n\n");
    EXPECT_EQ(co_Host.co_Progress(), (std::vector<std::string>{"start Exporting brochure.indd... 3",
                                                               "step", "step", "step"}));
}

TEST_F(CT_DocumentExportTest, StoppedOrFailedExportsLeaveTheFileAtTheTargetAlone) {
    const std::string s_canceled = "Export canceled.\n\n";
    const struct {
        std::function<void(CT_MemoryHost&)> f_Arrange;
        int b_Result;
        std::string s_Outcome;
    } aco_cases[] = {
        {[](CT_MemoryHost& co) { co.v_RequestCancel(); }, 1, s_canceled},
        {[](CT_MemoryHost& co) { co.v_CancelAfterPolls(2); }, 1, s_canceled},  // at box B
        {[](CT_MemoryHost& co) { co.v_CancelAfterPolls(4); }, 1, s_canceled},  // after the walk
        {[](CT_MemoryHost& co) { co.v_RefuseOn("b_Export", 2); }, 1, s_canceled},
        {[](CT_MemoryHost& co) { co.v_FailOn("b_Export", 3); }, 0,
         "Error: b_Export failed: the host was told to fail it\n2 stories have been exported.\n\n"},
    };
    co_Host.v_OpenDocument(spc_Document);
    CT_Document* pco_document = pco_Current();
    const std::string s_file = co_Folder / "brochure.mtt";
    co_Folder.v_Put("brochure.mtt", "previous translation");
    for (const auto& co_case : aco_cases) {
        v_ClearLog();
        co_Host.v_ClearCancel();
        co_case.f_Arrange(co_Host);
        EXPECT_EQ(pco_document->b_Export(CT_String(s_file.c_str()), co_Data), co_case.b_Result);
        EXPECT_EQ(s_Log(), "Exporting brochure.indd...\n" + co_case.s_Outcome);
        EXPECT_EQ(co_Folder.co_Get("brochure.mtt"), "previous translation");
        EXPECT_EQ(co_Folder.co_Names().size(), 1u) << "a work file was left behind";
    }
}

TEST_F(CT_DocumentExportTest, EmptyOrderEndsCanceledAndTheToolFormatLeavesNoWorkFile) {
    co_Host.v_PutDocument("/docs/empty.indd", {});
    co_Host.v_OpenDocument("/docs/empty.indd");
    EXPECT_EQ(pco_Current()->b_Export((co_Folder / "empty.mtt").c_str(), co_Data), 1);
    co_Host.v_CloseDocument("/docs/empty.indd", false);

    // The converter writes nothing yet; the work file in the temporary folder is deleted.
    const char* pc_tmp = std::getenv("TMPDIR");
    const std::string s_oldTmp = pc_tmp != nullptr ? pc_tmp : "";
    ::setenv("TMPDIR", (co_Folder / "").c_str(), 1);
    CT_StoryFormatSettings co_tool;
    co_tool.v_SetTaggedTextFormat(CT_StoryFormatSettings::e_QuarvelTaggedText);
    CT_ProcessData co_data(co_Log, co_tool, CT_String("Translation"));
    co_Host.v_OpenDocument(spc_Document);
    EXPECT_EQ(pco_Current()->b_Export((co_Folder / "brochure.qvx").c_str(), co_data), 0);
    pc_tmp != nullptr ? ::setenv("TMPDIR", s_oldTmp.c_str(), 1) : ::unsetenv("TMPDIR");

    EXPECT_EQ(s_Log(),
              "Exporting empty.indd...\nExport canceled.\n\n"
              "Exporting brochure.indd...\n3 stories have been exported.\n\n");
    EXPECT_TRUE(co_Folder.co_Names().empty());
}
