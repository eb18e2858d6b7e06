#include "tools/ct_cancel_signal.h"

#include <csignal>
#include <ctime>
#include <initializer_list>

namespace {
volatile std::sig_atomic_t gb_Requested = 0;
volatile std::sig_atomic_t gi_Signal = 0;

extern "C" void v_OnInterrupt(int i_Signal) {
    if (gb_Requested) {
        std::signal(i_Signal, SIG_DFL);
        std::raise(i_Signal);
        return;
    }
    gi_Signal = i_Signal;
    gb_Requested = 1;
}
}  // namespace

void CT_CancelSignal::sv_Install() {
    struct sigaction co_action {};
    co_action.sa_handler = v_OnInterrupt;
    sigemptyset(&co_action.sa_mask);
    // Restart interrupted reads and writes: the kernel's file calls must not fail with EINTR
    // just because the user asked to cancel; the cancel is seen at the next poll.
    co_action.sa_flags = SA_RESTART;
    for (const int i_signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(i_signal, &co_action, nullptr);
    }
}

int CT_CancelSignal::sb_IsRequested() {
    return gb_Requested != 0;
}

int CT_CancelSignal::si_GetSignal() {
    return gi_Signal;
}

int CT_CancelSignal::sb_WaitForRequest(unsigned n_Seconds) {
    const struct timespec co_tick = {0, 10 * 1000 * 1000};
    for (unsigned n_ticks = 0; n_ticks < n_Seconds * 100; ++n_ticks) {
        if (gb_Requested) {
            return 1;
        }
        nanosleep(&co_tick, nullptr);
    }
    return gb_Requested != 0;
}
