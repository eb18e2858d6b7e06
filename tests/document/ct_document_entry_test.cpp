// Export and import of a document named by path, in one call: what is closed, saved or left
// open, and what is refused.
#include <gtest/gtest.h>

#include "tests/document/ct_kernel_fixture.h"

using CT_DocumentEntryTest = CT_KernelFixture;

TEST_F(CT_DocumentEntryTest, ExportClosesUnsavedAndImportSavesWhatCameBeforeAnError) {
    const CT_String co_file((co_Folder / "brochure.mtt").c_str());
    co_Host.v_OpenDocument(spc_Document);
    EXPECT_EQ(CT_Document::sb_Export(spc_Document, co_file, co_Settings, co_Data), 0);
    EXPECT_TRUE(co_Host.b_IsOpen(spc_Document));  // open before: neither closed nor saved
    co_Host.v_CloseDocument(spc_Document, false);
    EXPECT_EQ(CT_Document::sb_Export(spc_Document, co_file, co_Settings, co_Data), 0);
    EXPECT_EQ(n_Calls("v_Close /docs/brochure.indd 0"), 1);

    v_ClearLog();
    CT_Document::sb_Import(spc_Document,
                           co_Tagged("t.mtt", s_Story("B", "Welt") + s_Story("Q", "")), co_Settings,
                           co_Data);
    EXPECT_EQ(s_Log(), "Importing brochure.indd...\nError: Q\n1 story has been imported.\n\n");
    EXPECT_EQ(n_Calls("v_Close /docs/brochure.indd 1"), 1);
    EXPECT_EQ(s_Contents(spc_Document, true), "Hello|Welt|Third story|");
}

TEST_F(CT_DocumentEntryTest, EmptyDocumentsAreRefusedAndAPendingCancelRunsNothing) {
    co_Host.v_PutDocument("/docs/empty.indd", {});
    const CT_String co_file((co_Folder / "t.mtt").c_str());
    for (auto pf_entry : {&CT_Document::sb_Export, &CT_Document::sb_Import}) {
        try {
            pf_entry("/docs/empty.indd", co_file, co_Settings, co_Data);
            ADD_FAILURE() << "no error";
        } catch (et_ErrorCode eo_code) {
            EXPECT_EQ(eo_code, e_NoTextBox);
            EXPECT_EQ(CT_Errors::cco_GetLastError(), "/docs/empty.indd");
        }
    }
    EXPECT_EQ(n_Calls("v_Close /docs/empty.indd 0"), 2);

    co_Host.v_RequestCancel();
    EXPECT_NE(CT_Document::sb_Import(spc_Document, co_file, co_Settings, co_Data), 0);
    EXPECT_EQ(n_Calls("v_Close /docs/brochure.indd 1"), 1);
    EXPECT_EQ(n_Calls("v_PrepareForImport"), 0);
    EXPECT_EQ(s_Log(), "");
}
