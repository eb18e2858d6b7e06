#include "batch/ct_batch_action.h"

#include <memory>

#include "batch/ct_batch.h"
#include "platform/common/ct_error_code.h"
#include "platform/host/ct_progress_listener.h"

int CT_BatchAction::b_Open(const CT_String& co_DocumentPath) {
    pco_Document = new CT_Document(co_DocumentPath, sco_Batch.cco_GetStoryListSettings());
    try {
        pco_Document->v_Open(1);
    } catch (et_ErrorCode) {
        delete pco_Document;
        pco_Document = nullptr;
        return 0;
    }
    return 1;
}

int CT_BatchAction::b_Process(CT_ProcessData& co_Data) {
    if (pco_Document == nullptr) {
        return CT_ProgressListener::sb_IsCancel();
    }
    pco_Document->v_CheckStoryOrder();
    if (pco_Document->b_IsEmpty()) {
        return CT_ProgressListener::sb_IsCancel();
    }
    const CT_String co_tagged = sco_Batch.co_GetTaggedFile(pco_Document->co_GetFilePath());
    return b_Execute(co_tagged, co_Data);
}

void CT_BatchAction::v_Close() {
    if (pco_Document == nullptr) {
        return;
    }
    // Freed however the close ends, so that a failed close is never tried again.
    std::unique_ptr<CT_Document> pco_document(pco_Document);
    int b_save = 0;
    try {
        b_save = b_IsSaveNeeded() && !CT_ProgressListener::sb_IsCancel();
    } catch (...) {
        pco_Document = nullptr;
        throw;
    }
    pco_Document = nullptr;
    pco_document->v_Close(b_save);
}
