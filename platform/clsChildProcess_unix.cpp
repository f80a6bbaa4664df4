#include "platform/clsChildProcess.h"

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

// Runs in the child between fork and exec: system calls only.
void Detach() {
    ::setpgid(0, 0);
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    sigset_t oStops;
    sigemptyset(&oStops);
    sigaddset(&oStops, SIGINT);
    sigaddset(&oStops, SIGTERM);
    sigaddset(&oStops, SIGHUP);
    ::sigprocmask(SIG_BLOCK, &oStops, nullptr);
}

} // namespace

bool clsChildProcess::Launch(const QString& sProgram, const QStringList& asArguments) {
    setChildProcessModifier(&Detach);
    start(sProgram, asArguments);
    return true;
}

void clsChildProcess::SendStop(qint64 lProcessId, int iSignal) {
    ::kill(pid_t(lProcessId), iSignal);
}
