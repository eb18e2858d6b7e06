#include "platform/host/ct_host.h"

#include "platform/common/ct_errors.h"

namespace {
CT_HostBackend* gpco_Backend = nullptr;
}

void CT_Host::sv_Install(CT_HostBackend* pco_Backend) {
    gpco_Backend = pco_Backend;
}

CT_HostBackend* CT_Host::spco_GetBackend() {
    return gpco_Backend;
}

CT_HostBackend& CT_Host::sco_Backend() {
    if (gpco_Backend == nullptr) {
        CT_Errors::v_ThrowError(e_NoHost, "no host application is available");
    }
    return *gpco_Backend;
}

// Every backend uninstalls itself, so that a destroyed host is never reached through the
// interface.
CT_HostBackend::~CT_HostBackend() {
    if (gpco_Backend == this) {
        gpco_Backend = nullptr;
    }
}
