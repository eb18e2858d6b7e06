#include "platform/host/ct_progress_listener.h"

#include "platform/host/ct_host.h"

void CT_ProgressListener::v_StartProgress(const CT_String&, unsigned) {}
void CT_ProgressListener::v_StepProgress() {}

CT_ProgressListener* CT_ProgressListener::spco_GetProgressListener() {
    return CT_Host::sco_Backend().pco_GetProgressListener();
}
int CT_ProgressListener::sb_IsCancel() {
    return CT_Host::sco_Backend().b_IsCancel();
}
