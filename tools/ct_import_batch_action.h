// The batch action of "storyport batch import": each document (a working copy, see
// CT_WorkCopy) takes the stories of its tagged file and is saved when closed. It remembers
// which documents went through without an error line, so that only those are put in place of
// the user's documents once the batch is over.
#pragma once

#include <string>
#include <vector>

#include "batch/ct_batch_action.h"

class CT_LogSink;

class CT_ImportBatchAction : public CT_BatchAction {
  public:
    // The sink tells whether the kernel logged an error during a document's import.
    explicit CT_ImportBatchAction(const CT_LogSink& co_Sink);

    int b_Execute(const CT_String& co_TaggedFile, CT_ProcessData& co_Data) override;
    int b_IsSaveNeeded() override { return 1; }

    // Whether the document at the path (as the host names it) was imported to its end without
    // an error and without a cancel.
    bool b_WasClean(const std::string& s_DocumentPath) const;
    // After a cancel: the document handled last may have been closed without saving, so it
    // no longer counts as clean.
    void v_DropLast();

  private:
    const CT_LogSink& co_Sink;
    std::vector<std::string> co_Handled;  // canonical paths, in the order handled
    std::vector<bool> co_Clean;
};
