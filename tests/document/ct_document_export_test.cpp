// Export of a whole document: the bytes of the tagged file, the log of every outcome, and a
// file already at the target that keeps its bytes unless the export completes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>

#include "document/ct_tagged_converter.h"
#include "platform/common/ct_errors.h"
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

// A cancel at any poll is swept in the fault sweep; here a story the host refuses, which stops
// the export, and one it fails, which is told and skipped.
TEST_F(CT_DocumentExportTest, StoppedOrFailedExportsLeaveTheFileAtTheTargetAlone) {
    const struct {
        std::function<void(CT_MemoryHost&)> f_Arrange;
        int b_Result;
        std::string s_Outcome;
    } aco_cases[] = {
        {[](CT_MemoryHost& co) { co.v_RefuseOn("b_Export", 2); }, 1, "Export canceled.\n\n"},
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

TEST_F(CT_DocumentExportTest, EmptyOrderEndsCanceled) {
    co_Host.v_PutDocument("/docs/empty.indd", {});
    co_Host.v_OpenDocument("/docs/empty.indd");
    EXPECT_EQ(pco_Current()->b_Export((co_Folder / "empty.mtt").c_str(), co_Data), 1);
    co_Host.v_CloseDocument("/docs/empty.indd", false);
    EXPECT_EQ(s_Log(), "Exporting empty.indd...\nExport canceled.\n\n");
    EXPECT_TRUE(co_Folder.co_Names().empty());
}

// The tool's format: the converter gets the complete work file, which goes afterwards; with no
// converter, after a cancel or when the converter fails, nothing is left at the target or in
// the temporary folder, and the converter never sees a file already deleted.
class CT_ToolFormatExportTest : public CT_KernelFixture, public CT_TaggedConverter {
  protected:
    void SetUp() override {
        CT_KernelFixture::SetUp();
        co_Host.v_OpenDocument(spc_Document);
    }
    void TearDown() override {
        CT_TaggedConverter::sv_Install(nullptr);
        EXPECT_TRUE(co_Temporary.b_HoldsNoFile()) << "a work file was left behind";
        CT_KernelFixture::TearDown();
    }
    int b_Convert(const CT_String& co_TaggedPath, const CT_String& co_TargetPath,
                  const CT_String& co_DocumentName) override {
        std::ifstream co_in(std::string(co_TaggedPath.sv()));
        EXPECT_TRUE(co_in.good()) << "the converter was handed a missing file";
        s_Seen = std::string(std::istreambuf_iterator<char>(co_in), {});
        s_Document = std::string(co_DocumentName.sv());
        if (b_Fail) {
            CT_Errors::v_ThrowError(e_FileWrite, CT_String("cannot write the target"));
        }
        if (b_Stop) {
            return 1;
        }
        std::ofstream(std::string(co_TargetPath.sv())) << "converted";
        return 0;
    }
    int b_ExportTool() {
        CT_StoryFormatSettings co_tool;
        co_tool.v_SetTaggedTextFormat(CT_StoryFormatSettings::e_QuarvelTaggedText);
        CT_ProcessData co_data(co_Log, co_tool, CT_String("Translation"));
        return pco_Current()->b_Export((co_Folder / "brochure.xlf").c_str(), co_data);
    }

    CT_OwnTemporaryFolder co_Temporary;
    bool b_Fail = false;
    bool b_Stop = false;
    std::string s_Seen = "not called";
    std::string s_Document;
};

TEST_F(CT_ToolFormatExportTest, ConverterWritesTheTargetFromTheCompleteWorkFile) {
    CT_TaggedConverter::sv_Install(this);
    EXPECT_EQ(b_ExportTool(), 0);
    EXPECT_EQ(s_Seen, spc_OpenTag + s_Story("A", "Hello") + s_Story("B", "World") +
                          s_Story("C", "Third story", "P2") + spc_CloseTag);
    EXPECT_EQ(s_Document, "brochure.indd");
    EXPECT_EQ(co_Folder.co_Names(), (std::set<std::string>{"brochure.xlf"}));
    EXPECT_EQ(co_Folder.co_Get("brochure.xlf"), "converted");
}

TEST_F(CT_ToolFormatExportTest, NoConverterCancelFailureOrStopLeavesNothing) {
    EXPECT_EQ(b_ExportTool(), 0);
    EXPECT_EQ(s_Log(),
              "Exporting brochure.indd...\nError: no converter to the translation tool's format "
              "is installed; nothing was written to " +
                  (co_Folder / "brochure.xlf") + "\n0 stories have been exported.\n\n");

    CT_TaggedConverter::sv_Install(this);
    co_Host.v_CancelAfterPolls(2);
    EXPECT_EQ(b_ExportTool(), 1);
    EXPECT_EQ(s_Seen, "not called");

    co_Host.v_ClearCancel();
    b_Fail = true;
    v_ClearLog();
    EXPECT_EQ(b_ExportTool(), 0);
    EXPECT_EQ(s_Log(),
              "Exporting brochure.indd...\nError: cannot write the target\n"
              "3 stories have been exported.\n\n");
    EXPECT_TRUE(co_Folder.co_Names().empty());

    // A converter that stops (a cancel while it converts) makes the export a cancelled one: no
    // count of stories, no target, no intermediate file.
    b_Fail = false;
    b_Stop = true;
    s_Seen = "not called";
    v_ClearLog();
    EXPECT_EQ(b_ExportTool(), 1);
    EXPECT_NE(s_Seen, "not called");
    EXPECT_EQ(s_Log(), "Exporting brochure.indd...\nExport canceled.\n\n");
    EXPECT_TRUE(co_Folder.co_Names().empty());
}
