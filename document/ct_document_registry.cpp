#include "document/ct_document.h"

#include <memory>

#include "platform/host/ct_document_interface.h"

// Built at load; at unload only its nodes are freed, the documents in it are not destroyed.
CT_OrderedLinkedList<CT_Document> CT_Document::sco_DocumentList;

CT_Document* CT_Document::spco_GetCurrentDocument(const CT_StoryListSettings& co_Settings) {
    std::unique_ptr<CT_Document> pco_new(
        new CT_Document(CT_DocumentInterface::p_GetCurrentDocument(), co_Settings));
    if (sco_DocumentList.b_Find(pco_new.get())) {
        return sco_DocumentList.pco_GetCurrent();
    }
    sco_DocumentList.v_Add(pco_new.get());
    return pco_new.release();
}

void CT_Document::sv_CloseCurrentDocument() {
    CT_StoryListSettings co_storyListSettings;
    CT_Document co_document(CT_DocumentInterface::p_GetCurrentDocument(), co_storyListSettings);
    if (!sco_DocumentList.b_Find(&co_document)) {
        return;
    }
    if (sco_DocumentList.pco_GetCurrent()->b_Restoring) {
        return;
    }
    sco_DocumentList.v_RemoveAll(&co_document);
}

int CT_Document::b_LeaveRegistry() {
    if (sco_DocumentList.b_IsEmpty()) {
        return 0;
    }
    sco_DocumentList.v_GotoFirst();
    do {
        if (sco_DocumentList.pco_GetCurrent() == this) {
            sco_DocumentList.v_RemoveCurrent();
            return 1;
        }
    } while (sco_DocumentList.b_Next());
    return 0;
}
