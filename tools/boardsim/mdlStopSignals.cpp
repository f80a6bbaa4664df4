#include "tools/boardsim/mdlStopSignals.h"

#include <initializer_list>
#include <signal.h>

namespace {

volatile std::sig_atomic_t bRaised = 0;
sigset_t oWaitMask;

void Note(int) {
    bRaised = 1;
}

} // namespace

namespace mdlStopSignals {

void Install() {
    struct sigaction oAction {};
    oAction.sa_handler = Note;
    sigemptyset(&oAction.sa_mask);
    sigset_t oStops;
    sigemptyset(&oStops);
    for (const int iSignal : {SIGINT, SIGTERM}) {
        sigaction(iSignal, &oAction, nullptr);
        sigaddset(&oStops, iSignal);
    }
    sigprocmask(SIG_BLOCK, &oStops, &oWaitMask);
    sigdelset(&oWaitMask, SIGINT);
    sigdelset(&oWaitMask, SIGTERM);
    // A summary written to a closed pipe fails as a write, not as a death.
    signal(SIGPIPE, SIG_IGN);
}

bool Raised() {
    return bRaised != 0;
}

const sigset_t* WaitMask() {
    return &oWaitMask;
}

} // namespace mdlStopSignals
