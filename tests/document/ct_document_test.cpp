// One registry document per host document, gone when the host closes it; a kept sequence that
// comes back at every restore.
#include <gtest/gtest.h>

#include "document/ct_close_document_listener.h"
#include "platform/host/ct_document_interface.h"
#include "tests/document/ct_kernel_fixture.h"

using CT_DocumentTest = CT_KernelFixture;

TEST_F(CT_DocumentTest, TheRegistryKeepsOneDocumentPerHostDocumentUntilTheHostClosesIt) {
    EXPECT_EQ(CT_DocumentInterface::spco_GetCloseDocumentListener(),
              &CT_CloseDocumentListener::sco_CloseDocumentListener);
    co_Host.v_PutDocument("/docs/other.indd", {co_Box("O", 1, 0, "other")});
    co_Host.v_OpenDocument(spc_Document);
    CT_StoryListSettings co_leftRight;
    co_leftRight.v_SetDefaultStoryOrder(e_LeftRight);
    CT_Document* pco_first = CT_Document::spco_GetCurrentDocument(co_Settings);
    EXPECT_NE(pco_first->b_IsEmpty(), 0);
    EXPECT_EQ(CT_Document::spco_GetCurrentDocument(co_leftRight), pco_first);
    EXPECT_EQ(pco_first->pco_GetStoryOrder(1)->eo_GetStoryOrder(), e_TopDown);

    // Closing a document the registry does not hold changes nothing.
    co_Host.v_OpenDocument("/docs/other.indd");
    co_Host.v_CloseDocument("/docs/other.indd", false);
    EXPECT_EQ(CT_Document::spco_GetCurrentDocument(co_Settings), pco_first);
    EXPECT_EQ(s_Keys(*pco_first->pco_GetStoryOrder(0)), "ABC");

    co_Host.v_CloseDocument(spc_Document, false);
    EXPECT_EQ(co_Host.n_LiveBoxHandles() + co_Host.n_LiveDocumentHandles(), 0);
    co_Host.v_OpenDocument(spc_Document);
    EXPECT_NE(CT_Document::spco_GetCurrentDocument(co_leftRight)->b_IsEmpty(), 0);
}

TEST_F(CT_DocumentTest, AKeptSequenceComesBackAtEveryRestore) {
    co_Host.v_OpenDocument(spc_Document);
    CT_Document* pco_document = pco_Current();
    CT_StoryOrder* pco_order = pco_document->pco_GetStoryOrder(0);
    EXPECT_EQ(pco_document->pco_RestaureStoryOrder(), pco_order);  // nothing kept: unchanged

    pco_document->v_SaveStoryOrder();
    pco_order->v_GotoFirst();
    CT_TextBox* pco_a = pco_order->pco_GetCurrent();
    pco_order->v_Move(pco_a, nullptr);
    EXPECT_EQ(s_Keys(*pco_order), "BAC");
    pco_order = pco_document->pco_RestaureStoryOrder();
    EXPECT_EQ(s_Keys(*pco_order), "ABC");
    pco_order->b_Find(CT_String("B"));
    pco_order->v_Move(pco_order->pco_GetCurrent(), pco_a);
    EXPECT_EQ(s_Keys(*pco_order), "BAC");
    EXPECT_EQ(s_Keys(*pco_document->pco_RestaureStoryOrder()), "ABC");
}
