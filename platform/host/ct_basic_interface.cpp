#include "platform/host/ct_basic_interface.h"

#include "platform/host/ct_host.h"

CT_String CT_BasicInterface::co_GetOpenVersionTag() {
    return CT_Host::sco_Backend().co_GetOpenVersionTag();
}
CT_String CT_BasicInterface::co_GetCloseVersionTag() {
    return CT_Host::sco_Backend().co_GetCloseVersionTag();
}
void CT_BasicInterface::v_GetTaggedExtension(CT_String& co_Extension) {
    co_Extension = CT_Host::sco_Backend().co_GetTaggedExtension();
}
const CT_String& CT_BasicInterface::scco_GetDtpTaggedFilter() {
    return CT_Host::sco_Backend().cco_GetDtpTaggedFilter();
}
