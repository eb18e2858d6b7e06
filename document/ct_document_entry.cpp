#include "document/ct_document.h"

#include "platform/common/ct_errors.h"
#include "platform/host/ct_progress_listener.h"

int CT_Document::sb_Export(const CT_String& co_DocumentPath, const CT_String& co_TaggedPath,
                           const CT_StoryListSettings& co_Settings, CT_ProcessData& co_Data) {
    return sb_FilterOperation(co_DocumentPath, co_TaggedPath, co_Settings, co_Data,
                              &CT_Document::b_Export, 0);
}

int CT_Document::sb_Import(const CT_String& co_DocumentPath, const CT_String& co_TaggedPath,
                           const CT_StoryListSettings& co_Settings, CT_ProcessData& co_Data) {
    return sb_FilterOperation(co_DocumentPath, co_TaggedPath, co_Settings, co_Data,
                              &CT_Document::b_Import, 1);
}

int CT_Document::sb_FilterOperation(const CT_String& co_DocumentPath,
                                    const CT_String& co_TaggedPath,
                                    const CT_StoryListSettings& co_Settings,
                                    CT_ProcessData& co_Data, CT_Operation pf_Operation,
                                    int b_Save) {
    CT_Document co_document(co_DocumentPath, co_Settings);
    co_document.v_Open(1);
    int b_result = 0;
    try {
        co_document.v_CheckStoryOrder();
        if (co_document.b_IsEmpty()) {
            CT_Errors::v_ThrowError(e_NoTextBox, co_DocumentPath);
        }
        if (CT_ProgressListener::sb_IsCancel()) {
            b_result = 1;
        } else {
            b_result = (co_document.*pf_Operation)(co_TaggedPath, co_Data) != 0;
        }
    } catch (et_ErrorCode) {
        co_document.v_Close(0);
        CT_Errors::v_ThrowAgain();
    }
    co_document.v_Close(b_Save);
    return b_result;
}
