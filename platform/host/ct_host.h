// The seat of the host backend behind the static host interface. The installer keeps the
// backend alive while it is installed; a backend uninstalls itself when it is destroyed.
// Calls without a backend raise e_NoHost.
#pragma once

#include "platform/host/ct_host_backend.h"

class CT_Host {
  public:
    static void sv_Install(CT_HostBackend* pco_Backend);
    static CT_HostBackend* spco_GetBackend();
    // The installed backend; raises e_NoHost when there is none.
    static CT_HostBackend& sco_Backend();
};
