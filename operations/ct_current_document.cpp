#include "operations/ct_current_document.h"

#include "document/ct_document.h"
#include "platform/common/ct_errors.h"
#include "platform/host/ct_document_interface.h"

CT_CurrentDocument::CT_CurrentDocument(const std::string& s_Path,
                                       const CT_StoryListSettings& co_Settings) {
    p_Handle = CT_DocumentInterface::p_Open(CT_String(s_Path.c_str()), 1);
    try {
        pco_Document = CT_Document::spco_GetCurrentDocument(co_Settings);
        pco_StoryOrder = pco_Document->pco_GetStoryOrder(1);
    } catch (et_ErrorCode) {
        v_Close();
        throw;
    }
}

CT_CurrentDocument::~CT_CurrentDocument() {
    v_Close();
}

// Closing is a reading user's close: nothing was changed that should be kept. An error while
// closing changes nothing for the user, so it is dropped with the last error it recorded.
void CT_CurrentDocument::v_Close() noexcept {
    if (p_Handle == nullptr) {
        return;
    }
    try {
        CT_DocumentInterface::v_Close(p_Handle, 0);
    } catch (et_ErrorCode) {
        CT_Errors::v_ResetError();
    }
    try {
        CT_DocumentInterface::v_Release(p_Handle);
    } catch (et_ErrorCode) {
        CT_Errors::v_ResetError();
    }
    p_Handle = nullptr;
}
