#include "platform/clsStopSignals.h"

#include <QMetaObject>

#include <csignal>
#include <mutex>
#include <windows.h>

namespace {

// The handler runs on a thread of the system's; it reaches the object only
// through this, under the lock.
std::mutex goLock;
clsStopSignals* gpSignals = nullptr;

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
    }
    if (lEvent == CTRL_CLOSE_EVENT || lEvent == CTRL_LOGOFF_EVENT ||
        lEvent == CTRL_SHUTDOWN_EVENT) {
        // Returning would end the process at once, the upload's end cut
        // short and the exit status the system's. The program ends itself
        // instead, with Stop's status, while this thread waits; the system
        // ends it anyway about 5 s after the close.
        ::Sleep(INFINITE);
    }
    return TRUE;
}

} // namespace

clsStopSignals::clsStopSignals() {
    {
        const std::lock_guard oHeld(goLock);
        gpSignals = this;
    }
    ::SetConsoleCtrlHandler(&OnConsoleEvent, TRUE);
}

clsStopSignals::~clsStopSignals() {
    ::SetConsoleCtrlHandler(&OnConsoleEvent, FALSE);
    const std::lock_guard oHeld(goLock);
    gpSignals = nullptr;
}
