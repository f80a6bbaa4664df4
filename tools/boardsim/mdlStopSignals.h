#pragma once

#include <csignal>

// SIGINT and SIGTERM end the session with its summary. They are held back
// except while the session waits, so that one cannot slip in between a
// look at Raised and the wait.
namespace mdlStopSignals {

// Before any thread starts, so that every thread holds them back.
void Install();
bool Raised();
// The mask to wait with: the stop signals let through.
const sigset_t* WaitMask();

} // namespace mdlStopSignals
