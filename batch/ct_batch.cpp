#include "batch/ct_batch.h"

#include "batch/ct_batch_action.h"
#include "platform/common/ct_errors.h"
#include "platform/common/ct_files.h"
#include "platform/common/ct_res_string.h"
#include "platform/common/internal/ct_os_file.h"
#include "platform/host/ct_basic_interface.h"
#include "platform/host/ct_parent_progress_listener.h"
#include "platform/host/ct_progress_listener.h"
#include "resources/ct_library.h"

CT_Batch sco_Batch;

namespace {
enum : unsigned {
    kn_Error = 120,
};

const char kc_Backslash = '\\';

CT_ResString co_Message(unsigned n_Id) {
    return CT_ResString(CT_Library::sp_GetModule(), n_Id, "%");
}
}  // namespace

CT_Batch::~CT_Batch() {
    co_FileList.v_DestroyAll();
}

void CT_Batch::v_SetBatch(const CT_String& co_Folder, const CT_StoryListSettings& co_Settings) {
    co_TaggedFolder = co_Folder;
    const unsigned n_length = co_TaggedFolder.n_GetStringSize(nullptr);
    if (n_length > 0 && co_TaggedFolder[n_length - 1] != kc_Backslash) {
        co_TaggedFolder += "\\";
    }
    // The file layer takes that one backslash for the separator it stands for; any other is a
    // character of a name.
    CT_OsFile::sv_SetBatchFolder(std::string(co_TaggedFolder.sv()));
    pco_StoryListSettings = &co_Settings;
    n_FileDone = 0;
    b_Error = 0;
}

void CT_Batch::v_InitBatch(CT_BatchAction& co_Action, CT_LinkedList<CT_String>& co_Files) {
    pco_BatchAction = &co_Action;
    co_FileList.v_DestroyAll();
    if (co_Files.pco_GetCurrent() == nullptr) {
        co_Files.v_GotoFirst();
    }
    if (!co_Files.b_IsEmpty()) {
        do {
            const CT_String* pco_path = co_Files.pco_GetCurrent();
            if (pco_path != nullptr) {
                co_FileList.v_Add(new CT_String(*pco_path));
            }
        } while (co_Files.b_Next());
    }
    if (co_FileList.b_IsEmpty()) {
        n_State = e_Complete;
        return;
    }
    CT_ParentProgressListener* pco_progress = CT_ParentProgressListener::spco_GetProgressListener();
    if (pco_progress != nullptr) {
        pco_progress->v_SetFileCount(co_FileList.n_Count());
    }
    co_FileList.v_GotoFirst();
    n_State = e_OpenStep;
    CT_Listener::sv_Push(this);
}

void CT_Batch::v_BatchAll(CT_ProcessData& co_Data) {
    pco_ProcessData = &co_Data;
    CT_LogStream& co_log = co_Data.co_GetLog();
    co_log.v_PrintTime();
    co_log << co_log.cco_Eof();
    co_log.v_Separator();
    while (!b_IsBatchComplete()) {
        (*this)();
    }
    unsigned n_summary = e_FinishedSummary;
    if (CT_ProgressListener::sb_IsCancel()) {
        n_summary = e_CanceledSummary;
    } else if (b_Error) {
        n_summary = e_WithErrorsSummary;
    }
    co_log << co_log.cco_Eof() << co_Message(n_summary).cco_Get();
}

void CT_Batch::operator()() {
    if (pco_ProcessData == nullptr) {
        return;
    }
    const unsigned n_step = n_State;
    try {
        v_ContinueProcessing(*pco_ProcessData);
    } catch (et_ErrorCode) {
        // A step that failed before it moved on is not tried again: the document goes on to
        // its close step (which closes nothing when none is held), so every batch ends.
        if (n_State == n_step && n_State < e_CloseStep) {
            n_State = e_CloseStep;
        }
        if (CT_Errors::set_GetLastError() != e_NoTextBox && n_FileDone == 0) {
            CT_Errors::v_ThrowAgain();
        }
        CT_Errors::v_ResetError();
    }
}

void CT_Batch::v_ContinueProcessing(CT_ProcessData& co_Data) {
    switch (n_State) {
        case e_OpenStep:
            v_OpenStep(co_Data);
            break;
        case e_ProcessStep:
            v_ProcessStep(co_Data);
            break;
        case e_CloseStep:
            v_CloseStep(co_Data);
            break;
        default:
            break;
    }
}

void CT_Batch::v_OpenStep(CT_ProcessData& co_Data) {
    const CT_String* pco_path = co_FileList.pco_GetCurrent();
    // Not prepared by v_InitBatch: there is nothing to open and nothing was pushed.
    if (pco_BatchAction == nullptr || pco_path == nullptr) {
        n_State = e_Complete;
        return;
    }
    if (CT_ProgressListener::sb_IsCancel()) {
        v_Finish();
        return;
    }
    if (pco_BatchAction->b_Open(*pco_path)) {
        n_State = e_ProcessStep;
    } else {
        n_State = e_CloseStep;
        v_LogError(co_Data);
    }
    CT_ParentProgressListener* pco_progress = CT_ParentProgressListener::spco_GetProgressListener();
    if (pco_progress != nullptr) {
        pco_progress->v_NextFile();
    }
}

void CT_Batch::v_ProcessStep(CT_ProcessData& co_Data) {
    v_StartCounting(1);
    // Set before the action runs, so that an error while processing still closes the document.
    n_State = e_CloseStep;
    if (!pco_BatchAction->b_Process(co_Data)) {
        ++n_FileDone;
    }
}

// A close that fails may be a save that was refused: what the document's operation did is then
// lost, and the user must hear of it even after other documents were done. It is reported as a
// document that cannot be opened is, and the batch goes on; the action has let the document go,
// so the same close is never tried again.
void CT_Batch::v_CloseStep(CT_ProcessData& co_Data) {
    try {
        pco_BatchAction->v_Close();
    } catch (et_ErrorCode) {
        v_LogError(co_Data);
    }
    v_MoveToNextDocument();
}

void CT_Batch::v_LogError(CT_ProcessData& co_Data) {
    CT_LogStream& co_log = co_Data.co_GetLog();
    co_log << co_log.cco_Eof() << co_Message(kn_Error).cco_Get(CT_Errors::cco_GetLastError())
           << co_log.cco_Eof() << co_log.cco_Eof();
    CT_Errors::v_ResetError();
    b_Error = 1;
}

void CT_Batch::v_MoveToNextDocument() {
    if (co_FileList.b_Next() && !CT_ProgressListener::sb_IsCancel()) {
        n_State = e_OpenStep;
        return;
    }
    v_Finish();
}

void CT_Batch::v_Finish() {
    n_State = e_Complete;
    CT_Listener::sv_Pop();
}

CT_String CT_Batch::co_GetTaggedFile(const CT_String& co_DocumentPath) const {
    CT_String co_name = CT_Files::sco_GetFileName(co_DocumentPath);
    CT_Files::sv_RemoveExtension(co_name);
    CT_String co_extension;
    CT_BasicInterface::v_GetTaggedExtension(co_extension);
    return co_TaggedFolder + co_name + co_extension;
}

int CT_Batch::b_IsTaggedFileExist(const CT_String& co_DocumentPath) const {
    return CT_Files::sb_Exist(co_GetTaggedFile(co_DocumentPath));
}

const CT_StoryListSettings& CT_Batch::cco_GetStoryListSettings() const {
    static const CT_StoryListSettings sco_defaults;
    return pco_StoryListSettings != nullptr ? *pco_StoryListSettings : sco_defaults;
}
