// Runs one call into the kernel and turns what happened into the command's exit status. The
// kernel reports in three ways: a result (nonzero when cancelled or stopped), errors it caught
// and logged itself (its "Error: ..." lines), and errors it lets escape. The first two are read
// here; an escaping error is logged in the kernel's words, so that every failure leaves exactly
// one error line.
#pragma once

#include <functional>

#include "operations/ct_exit_status.h"

class CT_Session;

class CT_OperationOutcome {
  public:
    explicit CT_OperationOutcome(CT_Session& co_Session);

    // Runs the call: the last error is cleared first, an escaping et_ErrorCode is logged.
    void v_Run(const std::function<int()>& co_Call);

    // Nonzero when the call ran to its end without a logged or escaping error and without a
    // cancel; warnings do not count.
    int b_IsClean() const;
    // 0 when clean, 130 after the user's cancel, else 1.
    et_ExitStatus eo_GetExitStatus() const;

  private:
    CT_Session& co_Session;
    unsigned n_ErrorLinesBefore;
    int i_Result = 0;
    bool b_Escaped = false;
};
