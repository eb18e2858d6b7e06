#include "tools/ct_terminal_batch_progress.h"

#include <string>

#include "tools/ct_terminal_progress.h"

CT_TerminalBatchProgress::CT_TerminalBatchProgress(CT_TerminalProgress& co_Progress)
    : co_Progress(co_Progress) {}

void CT_TerminalBatchProgress::v_SetFileCount(unsigned n_Count) {
    this->n_Count = n_Count;
    n_Current = 0;
}

// The runner announces a document once it has tried to open it, before processing it, so the
// document being processed is the one announced last.
void CT_TerminalBatchProgress::v_NextFile() {
    ++n_Current;
    co_Progress.v_SetPrefix("[" + std::to_string(n_Current) + "/" + std::to_string(n_Count) + "] ");
}
