// The host's progress display and the user's cancel request. The backend owns the listener
// object that spco_GetProgressListener returns; this base shows nothing.
#pragma once

#include "platform/common/ct_string.h"

class CT_ProgressListener {
  public:
    virtual ~CT_ProgressListener() = default;
    // Starts a run with a caption and a number of steps.
    virtual void v_StartProgress(const CT_String& co_Message, unsigned n_Steps);
    virtual void v_StepProgress();

    static CT_ProgressListener* spco_GetProgressListener();
    // Nonzero once the user has asked to cancel. Every call is a poll the backend can count.
    static int sb_IsCancel();
};
