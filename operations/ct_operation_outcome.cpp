#include "operations/ct_operation_outcome.h"

#include "operations/ct_session.h"
#include "platform/common/ct_errors.h"

namespace {
// The kernel's text for a document without text boxes is the bare path; the user is told what
// is wrong with it.
CT_String co_Describe(et_ErrorCode eo_Code) {
    const CT_String& co_text = CT_Errors::cco_GetLastError();
    if (eo_Code != e_NoTextBox) {
        return co_text;
    }
    return CT_String("\"") + co_text + "\" has no text frame with a story in it";
}
}  // namespace

CT_OperationOutcome::CT_OperationOutcome(CT_Session& co_Session)
    : co_Session(co_Session), n_ErrorLinesBefore(co_Session.co_GetSink().n_GetErrorLines()) {}

void CT_OperationOutcome::v_Run(const std::function<int()>& co_Call) {
    CT_Errors::v_ResetError();
    try {
        i_Result = co_Call();
    } catch (et_ErrorCode eo_code) {
        b_Escaped = true;
        // A cancel seen while the host loads the document stops the run before the kernel
        // could say so itself; it is no error of the document's.
        if (co_Session.b_IsCanceled()) {
            co_Session.v_LogLine("storyport: " + std::string(CT_Errors::cco_GetLastError().sv()));
            return;
        }
        co_Session.v_LogError(co_Describe(eo_code));
        return;
    }
    if (i_Result == 0 || co_Session.b_IsCanceled()) {
        return;
    }
    // Stopped without the user's cancel: a failed save before an import, or a story the host
    // could not write. Say why when the kernel has not.
    const et_ErrorCode eo_last = CT_Errors::set_GetLastError();
    const bool b_logged = co_Session.co_GetSink().n_GetErrorLines() != n_ErrorLinesBefore;
    if (!b_logged && eo_last != e_NoError && eo_last != e_EndOfFile) {
        co_Session.v_LogError(CT_Errors::cco_GetLastError());
    }
}

int CT_OperationOutcome::b_IsClean() const {
    return eo_GetExitStatus() == e_ExitOk;
}

et_ExitStatus CT_OperationOutcome::eo_GetExitStatus() const {
    if (co_Session.b_IsCanceled()) {
        return e_ExitCanceled;
    }
    if (b_Escaped) {
        return e_ExitError;
    }
    if (i_Result != 0 || co_Session.co_GetSink().n_GetErrorLines() != n_ErrorLinesBefore) {
        return e_ExitError;
    }
    return e_ExitOk;
}
