#include "platform/clsStopSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

namespace {

// The pipe's two ends; the handler can reach nothing but a global.
int aiPipe[2] = {-1, -1};

// A hang-up too: a closed terminal or a dropped login would otherwise end
// the upload with no line in the ledger and its serial number not given back.
constexpr int aiSignals[] = {SIGINT, SIGTERM, SIGHUP};

void OnSignal(int iSignal) {
    const int iSavedErrno = errno;
    const auto cByte = char(iSignal);
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

void LetThrough() {
    sigset_t oSignals;
    sigemptyset(&oSignals);
    for (const int iSignal : aiSignals) {
        sigaddset(&oSignals, iSignal);
    }
    ::pthread_sigmask(SIG_UNBLOCK, &oSignals, nullptr);
}

void Drain(clsStopSignals& oSignals) {
    char aBytes[64];
    for (ssize_t lRead = 0; (lRead = ::read(aiPipe[0], aBytes, sizeof aBytes)) > 0;) {
        for (ssize_t i = 0; i < lRead; ++i) {
            emit oSignals.Received(aBytes[i]);
        }
    }
}

} // namespace

clsStopSignals::clsStopSignals() {
    if (::pipe2(aiPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        qFatal("no pipe for the stop signals: %s", strerror(errno));
    }
    auto oNotifier = std::make_unique<QSocketNotifier>(aiPipe[0], QSocketNotifier::Read);
    connect(oNotifier.get(), &QSocketNotifier::activated, this, [this] { Drain(*this); });
    oListener = std::move(oNotifier);
    Handle(&OnSignal);
    LetThrough();
}

clsStopSignals::~clsStopSignals() {
    Handle(SIG_DFL);
    oListener.reset();
    ::close(aiPipe[0]);
    ::close(aiPipe[1]);
    aiPipe[0] = aiPipe[1] = -1;
}
