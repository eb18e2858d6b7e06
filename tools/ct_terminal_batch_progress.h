// The outer progress of a batch on the terminal: it counts the documents the batch runner
// announces and shows "[k/n] " before the caption of each document's own progress line.
#pragma once

#include "platform/host/ct_parent_progress_listener.h"

class CT_TerminalProgress;

class CT_TerminalBatchProgress : public CT_ParentProgressListener {
  public:
    // The progress line must outlive this object.
    explicit CT_TerminalBatchProgress(CT_TerminalProgress& co_Progress);

    void v_SetFileCount(unsigned n_Count) override;
    void v_NextFile() override;

  private:
    CT_TerminalProgress& co_Progress;
    unsigned n_Count = 0;
    unsigned n_Current = 0;
};
