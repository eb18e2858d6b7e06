// The batch runner: one operation (chosen by the batch action) over a list of documents named
// by path, one small step per call: open the next document, process it, close it. Failures are
// logged per document and the batch goes on; one summary line ends it. There is one runner,
// the global sco_Batch, built at load and destroyed at unload.
//
// Ownership: the runner owns its copies of the paths. The story list settings, the action and
// the processing context belong to the caller and must outlive the batch.
#pragma once

#include "containers/ct_linked_list.h"
#include "platform/common/ct_string.h"
#include "platform/host/ct_listener.h"
#include "settings/ct_process_data.h"
#include "settings/ct_story_list_settings.h"

class CT_BatchAction;

class CT_Batch : public CT_Listener {
  public:
    enum et_Step : unsigned { e_OpenStep = 0, e_ProcessStep = 1, e_CloseStep = 2, e_Complete = 3 };
    // The ids of the line a batch's log ends with; a parallel batch reads them back.
    enum et_Summary : unsigned {
        e_FinishedSummary = 121,
        e_CanceledSummary = 123,
        e_WithErrorsSummary = 124
    };

    CT_Batch() = default;
    ~CT_Batch() override;
    CT_Batch(const CT_Batch&) = delete;
    CT_Batch& operator=(const CT_Batch&) = delete;

    // Keeps the folder, ending it with "\" (an empty folder is kept empty: the tagged files
    // then go to the working folder), and a pointer to the settings; resets the counters.
    void v_SetBatch(const CT_String& co_Folder, const CT_StoryListSettings& co_Settings);
    // Copies the paths from the list's current element on (from its first element when its
    // cursor stands nowhere); they are handled in the reverse order. Starts the outer progress
    // and pushes the runner as the host's current listener, unless the list is empty.
    void v_InitBatch(CT_BatchAction& co_Action, CT_LinkedList<CT_String>& co_Files);
    // Runs every step and writes the time, a separator and the summary to the context's log.
    // A document that fails to open or to close (a refused save) is logged as an error and
    // passed over. An error while processing when nothing is done yet (other than a document
    // without text boxes) leaves here; the runner then stands where it failed and a further
    // call goes on from there.
    void v_BatchAll(CT_ProcessData& co_Data);
    // One step with the context of v_BatchAll.
    void operator()() override;

    // The batch folder, the document's name without extension, the host's tagged extension.
    CT_String co_GetTaggedFile(const CT_String& co_DocumentPath) const;
    int b_IsTaggedFileExist(const CT_String& co_DocumentPath) const;
    // The settings of v_SetBatch; defaults before the first v_SetBatch.
    const CT_StoryListSettings& cco_GetStoryListSettings() const;
    unsigned n_GetFileDone() const { return n_FileDone; }
    int b_IsBatchComplete() const { return n_State == e_Complete; }

  private:
    void v_ContinueProcessing(CT_ProcessData& co_Data);
    void v_OpenStep(CT_ProcessData& co_Data);
    void v_ProcessStep(CT_ProcessData& co_Data);
    void v_CloseStep(CT_ProcessData& co_Data);
    // Message 120 with the last error's text, between line ends; the error is cleared and the
    // batch counts as one with errors.
    void v_LogError(CT_ProcessData& co_Data);
    // To the next document, or to the end of the batch.
    void v_MoveToNextDocument();
    void v_Finish();

    CT_String co_TaggedFolder;
    const CT_StoryListSettings* pco_StoryListSettings = nullptr;
    unsigned n_FileDone = 0;
    CT_BatchAction* pco_BatchAction = nullptr;
    CT_LinkedList<CT_String> co_FileList;
    CT_ProcessData* pco_ProcessData = nullptr;
    int b_Error = 0;
};

extern CT_Batch sco_Batch;
