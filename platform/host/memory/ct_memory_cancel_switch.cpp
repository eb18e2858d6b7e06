#include "platform/host/memory/ct_memory_cancel_switch.h"

void CT_MemoryCancelSwitch::v_RequestAfter(unsigned n_Polls) {
    if (n_Polls == 0) {
        v_Request();
        return;
    }
    b_Armed = true;
    n_PollsLeft = n_Polls;
}

void CT_MemoryCancelSwitch::v_Clear() {
    b_Cancelled = false;
    b_Armed = false;
    n_PollsLeft = 0;
    n_PollCount = 0;
}

int CT_MemoryCancelSwitch::b_Poll() {
    ++n_PollCount;
    if (b_Cancelled) {
        return 1;
    }
    if (!b_Armed) {
        return 0;
    }
    if (n_PollsLeft > 0) {
        --n_PollsLeft;
        return 0;
    }
    b_Cancelled = true;
    return 1;
}
