#include "platform/clsStopSignals.h"

#include <QMetaObject>

#include <csignal>
#include <mutex>
#include <windows.h>

namespace {

// The handler runs on a thread of the system's; it reaches the object only
// through these, under the lock.
std::mutex goLock;
clsStopSignals* gpSignals = nullptr;
// Set once the object is gone: a closing console may end the program then.
HANDLE ghEnded = nullptr;

// Windows ends the process about 5 s after a console close, whatever the
// handler does; the upload's end (the port closed, the ledger written) must
// come within that.
constexpr DWORD lCloseWaitMs = 4800;

int SignalOf(DWORD lEvent) {
    switch (lEvent) {
    case CTRL_C_EVENT:
        return SIGINT;
    case CTRL_BREAK_EVENT:
        return SIGBREAK;
    default:
        return SIGTERM;
    }
}

BOOL WINAPI OnConsoleEvent(DWORD lEvent) {
    HANDLE hEnded = nullptr;
    {
        const std::lock_guard oHeld(goLock);
        if (gpSignals == nullptr) {
            return FALSE;
        }
        clsStopSignals* pSignals = gpSignals;
        const int iSignal = SignalOf(lEvent);
        QMetaObject::invokeMethod(
            pSignals, [pSignals, iSignal] { emit pSignals->Received(iSignal); },
            Qt::QueuedConnection);
        hEnded = ghEnded;
    }
    if (lEvent == CTRL_CLOSE_EVENT || lEvent == CTRL_LOGOFF_EVENT ||
        lEvent == CTRL_SHUTDOWN_EVENT) {
        // Returning would end the process at once.
        ::WaitForSingleObject(hEnded, lCloseWaitMs);
    }
    return TRUE;
}

} // namespace

clsStopSignals::clsStopSignals() {
    {
        const std::lock_guard oHeld(goLock);
        gpSignals = this;
        if (ghEnded == nullptr) {
            ghEnded = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        }
        ::ResetEvent(ghEnded);
    }
    ::SetConsoleCtrlHandler(&OnConsoleEvent, TRUE);
}

clsStopSignals::~clsStopSignals() {
    ::SetConsoleCtrlHandler(&OnConsoleEvent, FALSE);
    const std::lock_guard oHeld(goLock);
    gpSignals = nullptr;
    ::SetEvent(ghEnded);
}
