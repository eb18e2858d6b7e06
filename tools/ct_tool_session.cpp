#include "tools/ct_tool_session.h"

#include <unistd.h>

#include <iostream>

#include "tools/ct_cancel_signal.h"

CT_ToolSession::CT_ToolSession(const CT_CommandOptions& co_Options)
    : CT_Session(co_Options, std::cerr),
      co_Progress(isatty(STDERR_FILENO) != 0 && !co_Options.b_Quiet && !co_Options.b_NoProgress,
                  CT_TerminalProgress::sn_PauseStepFromEnvironment()),
      co_BatchProgress(co_Progress) {
    co_GetSink().v_SetQuiet(co_Options.b_Quiet);
    co_GetSink().v_SetBeforeLine([this] { co_Progress.v_ClearLine(); });
    co_GetHost().v_SetProgressListener(&co_Progress);
    co_GetHost().v_SetParentProgressListener(&co_BatchProgress);
    v_SetCancelSource([] { return CT_CancelSignal::sb_IsRequested() != 0; });
    // A parallel batch's workers are this very command.
    v_SetWorkerProgram("/proc/self/exe");
}

// The base's sink writes its last line when it goes, after the progress line has gone: it is
// written here while both are still there.
CT_ToolSession::~CT_ToolSession() {
    co_GetSink().v_Finish();
    co_GetSink().v_SetBeforeLine({});
    co_GetHost().v_SetProgressListener(nullptr);
    co_GetHost().v_SetParentProgressListener(nullptr);
}
