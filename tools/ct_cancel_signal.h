// Ctrl-C as the user's cancel request. The first SIGINT only raises a flag, which the host's
// cancel poll reads, so the kernel ends the running export or import the way it ends on a
// cancel; a second SIGINT ends the process at once, for a user who does not want to wait.
// SIGTERM and SIGHUP (a closed terminal, a stopped service) are taken the same way, so that
// the run ends as a cancel does and leaves no working files behind. One per process;
// installing it again restores nothing.
#pragma once

class CT_CancelSignal {
  public:
    static void sv_Install();
    // Nonzero once the user has asked to cancel. Async-signal-safe to read from anywhere.
    static int sb_IsRequested();
    // The signal that asked, 0 before any.
    static int si_GetSignal();
    // Waits until a cancel is requested or the time is up; nonzero when it was requested.
    static int sb_WaitForRequest(unsigned n_Seconds);
};
