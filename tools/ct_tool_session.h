// One run of the storyport command: the operations' session (CT_Session) on standard error,
// with the terminal's progress display and Ctrl-C as its cancel source. The session owns the
// progress line, which outlives every log line the base writes.
#pragma once

#include "operations/ct_command_options.h"
#include "operations/ct_session.h"
#include "tools/ct_terminal_batch_progress.h"
#include "tools/ct_terminal_progress.h"

class CT_ToolSession : public CT_Session {
  public:
    // Raises e_FileOpen when the log file cannot be opened.
    explicit CT_ToolSession(const CT_CommandOptions& co_Options);
    ~CT_ToolSession() override;

    // Erases the progress line before the command writes to the terminal itself.
    void v_ClearProgress() { co_Progress.v_ClearLine(); }

  private:
    CT_TerminalProgress co_Progress;
    CT_TerminalBatchProgress co_BatchProgress;
};
