// Import of a tagged file into its document: stories land by key, files that do not match the
// document are reported, and a cancel restores what the kernel opened.
#include <gtest/gtest.h>

#include "tests/document/ct_kernel_fixture.h"

namespace {
const std::string ks_Fewer =
    "Warning: there are one or more stories in the document that cannot be found in the tagged "
    "text file.\n";
const std::string ks_More =
    "Warning: there is more stories in the imported tagged file than in the document: these "
    "stories have been ignored.\n";
}  // namespace

using CT_DocumentImportTest = CT_KernelFixture;

TEST_F(CT_DocumentImportTest, StoriesLandByKeyAndAnExportedFileImportsBackUnchanged) {
    co_Host.v_OpenDocument(spc_Document);
    const CT_String co_file =
        co_Tagged("t.mtt", "between stories " + s_Story("C", "Troisième\nhistoire", "B") +
                               s_Story("A", "Bonjour") + s_Story("B", ""));
    EXPECT_EQ(pco_Current()->b_Import(co_file, co_Data), 0);
    EXPECT_EQ(s_Contents(spc_Document), "Bonjour||Troisième\nhistoire|");

    ASSERT_EQ(pco_Current()->b_Export(co_file, co_Data), 0);
    EXPECT_EQ(pco_Current()->b_Import(co_file, co_Data), 0);
    EXPECT_EQ(s_Contents(spc_Document), "Bonjour||Troisième\nhistoire|");
    EXPECT_EQ(s_Log(),
              "Importing brochure.indd...\n3 stories have been imported.\n\n"
              "Exporting brochure.indd...\n3 stories have been exported.\n\n"
              "Importing brochure.indd...\n3 stories have been imported.\n\n");
}

TEST_F(CT_DocumentImportTest, FilesThatDoNotMatchTheDocumentAreReported) {
    const struct {
        std::string s_Stories;
        std::string s_Lines;
        const char* pc_Contents;
    } aco_cases[] = {
        {s_Story("B", "b"), ks_Fewer + "1 story has been imported.\n", "Hello|b|Third story|"},
        {"", ks_Fewer + "0 stories have been imported.\n", "Hello|World|Third story|"},
        {s_Story("A", "a") + s_Story("B", "b") + s_Story("C", "c") + s_Story("D", "d"),
         ks_More + "3 stories have been imported.\n", "a|b|c|"},
        {s_Story("A", "a") + s_Story("X", "x") + s_Story("B", "b"),
         "Error: X\n1 story has been imported.\n", "a|World|Third story|"},
        // A key twice makes up for a missing one: no warning.
        {s_Story("A", "1") + s_Story("A", "2") + s_Story("B", "b"),
         "3 stories have been imported.\n", "2|b|Third story|"},
    };
    for (const auto& co_case : aco_cases) {
        co_Host.v_OpenDocument(spc_Document);
        v_ClearLog();
        EXPECT_EQ(pco_Current()->b_Import(co_Tagged("t.mtt", co_case.s_Stories), co_Data), 0);
        EXPECT_EQ(s_Log(), "Importing brochure.indd...\n" + co_case.s_Lines + "\n");
        EXPECT_EQ(s_Contents(spc_Document), co_case.pc_Contents);
        co_Host.v_CloseDocument(spc_Document, false);
    }
}

TEST_F(CT_DocumentImportTest, CancelReopensADocumentByPathAndKeepsTheCurrentDocument) {
    const CT_String co_file = co_Tagged("t.mtt", s_Story("A", "a") + s_Story("B", "b"));
    const std::string s_canceled =
        "Importing brochure.indd...\n" + ks_Fewer + "Import canceled.\n\n";
    co_Host.v_CancelAfterPolls(2);  // the entry point's poll, then the first story's
    EXPECT_NE(CT_Document::sb_Import(spc_Document, co_file, co_Settings, co_Data), 0);
    EXPECT_EQ(n_Calls("v_Close /docs/brochure.indd 0"), 1);
    EXPECT_FALSE(co_Host.b_IsOpen(spc_Document));
    EXPECT_EQ(s_Contents(spc_Document, true), "Hello|World|Third story|");
    EXPECT_EQ(s_Log(), s_canceled);

    // The registry's document is never closed by the kernel: it survives with what came in.
    v_ClearLog();
    co_Host.v_ClearCancel();
    co_Host.v_OpenDocument(spc_Document);
    CT_Document* pco_document = pco_Current();
    co_Host.v_CancelAfterPolls(1);
    EXPECT_NE(pco_document->b_Import(co_file, co_Data), 0);
    EXPECT_EQ(s_Log(), s_canceled);
    EXPECT_EQ(CT_Document::spco_GetCurrentDocument(co_Settings), pco_document);
    EXPECT_EQ(s_Keys(*pco_document->pco_GetStoryOrder(0)), "ABC");
    EXPECT_EQ(s_Contents(spc_Document), "a|World|Third story|");
}

TEST_F(CT_DocumentImportTest, FailedReopenDropsARegistryDocumentButNotADocumentByPath) {
    const CT_String co_file = co_Tagged("t.mtt", s_Story("A", "a") + s_Story("B", "b"));
    co_Host.v_OpenDocument(spc_Document);
    co_Host.v_CancelAfterPolls(1);
    co_Host.v_FailOn("p_IsDocumentOpen", 1);
    EXPECT_EQ(pco_Current()->b_Import(co_file, co_Data), 0);
    EXPECT_NE(CT_Document::spco_GetCurrentDocument(co_Settings)->b_IsEmpty(), 0);
    co_Host.v_CloseDocument(spc_Document, false);

    co_Host.v_ClearCancel();
    co_Host.v_CancelAfterPolls(2);
    co_Host.v_FailOn("p_Open", 2);
    EXPECT_EQ(CT_Document::sb_Import(spc_Document, co_file, co_Settings, co_Data), 0);
    EXPECT_FALSE(co_Host.b_IsOpen(spc_Document));
    const std::string s_failed = "Importing brochure.indd...\n" + ks_Fewer + "Error: ";
    EXPECT_EQ(s_Log(), s_failed + "p_IsDocumentOpen failed: the host was told to fail it\n" +
                           "1 story has been imported.\n\n" + s_failed +
                           "p_Open failed: the host was told to fail it\n" +
                           "1 story has been imported.\n\n");
}

TEST_F(CT_DocumentImportTest, FilesAreComparedByStoryCountAndByName) {
    co_Host.v_OpenDocument(spc_Document);
    CT_Document* pco_document = pco_Current();
    EXPECT_EQ(pco_document->eo_CompareTagFile(co_Tagged("5",
                                                        "</STORY>x</STORY>\n</STORY></STORY>"
                                                        "</STORY>")),
              CT_Document::e_MoreStoriesInFile);
    EXPECT_EQ(pco_document->eo_CompareTagFile(co_Tagged("2", s_Story("A", "") + s_Story("Z", ""))),
              CT_Document::e_MoreStoriesInDocument);
    EXPECT_EQ(pco_document->eo_CompareTagFile(co_Tagged("3", "</STORY></STORY></STORY>")),
              CT_Document::e_SameStoryCount);
    EXPECT_EQ(pco_document->b_CompareFileName("/elsewhere/brochure.qvx"), 0);
    EXPECT_NE(pco_document->b_CompareFileName("/docs/brochure2.indd"), 0);
}
