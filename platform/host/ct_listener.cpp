#include "platform/host/ct_listener.h"

#include "platform/host/ct_host.h"

void CT_Listener::sv_Push(CT_Listener* pco_Listener) {
    CT_Host::sco_Backend().v_PushListener(pco_Listener);
}
void CT_Listener::sv_Pop() {
    CT_Host::sco_Backend().v_PopListener();
}
void CT_Listener::v_StartCounting(int b_Reset) {
    CT_Host::sco_Backend().v_StartCounting(b_Reset);
}
