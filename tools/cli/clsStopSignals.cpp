#include "tools/cli/clsStopSignals.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The pipe's two ends; the handler can reach nothing but a global.
int aiPipe[2] = {-1, -1};

constexpr int aiSignals[] = {SIGINT, SIGTERM};

void OnSignal(int) {
    const int iSavedErrno = errno;
    const char cByte = 1;
    // A full pipe already holds a Stop that has not been read.
    [[maybe_unused]] const ssize_t lWritten = ::write(aiPipe[1], &cByte, 1);
    errno = iSavedErrno;
}

void Handle(void (*oHandler)(int)) {
    struct sigaction oAction {};
    oAction.sa_handler = oHandler;
    sigemptyset(&oAction.sa_mask);
    oAction.sa_flags = SA_RESTART;
    for (const int iSignal : aiSignals) {
        ::sigaction(iSignal, &oAction, nullptr);
    }
}

} // namespace

clsStopSignals::clsStopSignals() {
    if (::pipe2(aiPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        qFatal("tessivar-cli: no pipe for the stop signals: %s", strerror(errno));
    }
    oNotifier = std::make_unique<QSocketNotifier>(aiPipe[0], QSocketNotifier::Read);
    connect(oNotifier.get(), &QSocketNotifier::activated, this, &clsStopSignals::Drain);
    Handle(&OnSignal);
}

clsStopSignals::~clsStopSignals() {
    Handle(SIG_DFL);
    oNotifier.reset();
    ::close(aiPipe[0]);
    ::close(aiPipe[1]);
    aiPipe[0] = aiPipe[1] = -1;
}

void clsStopSignals::Drain() {
    char aBytes[64];
    while (::read(aiPipe[0], aBytes, sizeof aBytes) > 0) {
    }
    emit Received();
}
