#include "platform/host/ct_parent_progress_listener.h"

#include "platform/host/ct_host.h"

void CT_ParentProgressListener::v_SetFileCount(unsigned) {}
void CT_ParentProgressListener::v_NextFile() {}

CT_ParentProgressListener* CT_ParentProgressListener::spco_GetProgressListener() {
    return CT_Host::sco_Backend().pco_GetParentProgressListener();
}
