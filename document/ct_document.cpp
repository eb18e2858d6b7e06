#include "document/ct_document.h"

#include "platform/common/ct_files.h"
#include "platform/host/ct_document_interface.h"
#include "storyorder/ct_story_order.h"

CT_Document::CT_Document(void* p_HostDocument, const CT_StoryListSettings& co_Settings)
    : pco_StoryOrder(new CT_StoryOrder(co_Settings)),
      p_Document(p_HostDocument),
      b_AlreadyOpen(true) {}

CT_Document::CT_Document(const CT_String& co_Path, const CT_StoryListSettings& co_Settings)
    : pco_StoryOrder(new CT_StoryOrder(co_Settings)),
      co_FilePath(co_Path),
      p_Document(nullptr),
      b_AlreadyOpen(false) {}

CT_Document::~CT_Document() {
    pco_StoryOrder->v_DestroyAll();
    delete pco_StoryOrder;
    v_DeleteStoryOrder();
    // A destructor must not raise: a host that fails to take the handle back keeps it.
    try {
        CT_DocumentInterface::v_Release(p_Document);
    } catch (...) {
    }
}

int CT_Document::operator==(const CT_Document& co_Other) const {
    return CT_DocumentInterface::b_IsEqual(p_Document, co_Other.p_Document);
}

void CT_Document::v_Open(int i_Option) {
    i_OpenOption = i_Option;
    // A restore opens a document again: the handle of the first open would otherwise be lost.
    if (p_Document != nullptr) {
        CT_DocumentInterface::v_Release(p_Document);
    }
    p_Document = CT_DocumentInterface::p_IsDocumentOpen(co_FilePath);
    b_AlreadyOpen = p_Document != nullptr;
    if (p_Document == nullptr) {
        p_Document = CT_DocumentInterface::p_Open(co_FilePath, i_OpenOption);
    }
}

void CT_Document::v_Save() {
    CT_DocumentInterface::v_Save(p_Document);
}

void CT_Document::v_Close(int b_Save) {
    // After a failed open there is nothing of ours to close.
    if (b_AlreadyOpen || p_Document == nullptr) {
        return;
    }
    CT_DocumentInterface::v_Close(p_Document, b_Save);
}

int CT_Document::b_IsEmpty() {
    return pco_StoryOrder->n_Count() == 0;
}

CT_String CT_Document::co_GetFilePath() {
    co_FilePath = CT_DocumentInterface::co_GetDocumentPath(p_Document);
    return co_FilePath;
}

CT_String CT_Document::co_GetFileName() {
    return CT_Files::sco_GetFileName(co_GetFilePath());
}

CT_StoryOrder* CT_Document::pco_GetStoryOrder(int b_Check) {
    if (b_Check) {
        v_CheckStoryOrder();
    }
    return pco_StoryOrder;
}

void CT_Document::v_CheckStoryOrder() {
    pco_StoryOrder->v_CheckStoryOrder();
}

void CT_Document::v_SaveStoryOrder() {
    v_DeleteStoryOrder();
    pco_SavedStoryOrder = static_cast<CT_StoryOrder*>(pco_StoryOrder->pco_Duplicate());
}

CT_StoryOrder* CT_Document::pco_RestaureStoryOrder() {
    // Nothing was kept: the order in force is the best answer, and it stays as it is.
    if (pco_SavedStoryOrder == nullptr) {
        return pco_StoryOrder;
    }
    delete pco_StoryOrder;  // its nodes only: the kept copy holds the same boxes
    pco_StoryOrder = pco_SavedStoryOrder;
    pco_SavedStoryOrder = static_cast<CT_StoryOrder*>(pco_StoryOrder->pco_Duplicate());
    return pco_StoryOrder;
}

void CT_Document::v_DeleteStoryOrder() {
    delete pco_SavedStoryOrder;
    pco_SavedStoryOrder = nullptr;
}
