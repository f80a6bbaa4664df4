#include "tools/cli/clsTerminalEnd.h"

#include <QTimer>

#include <cerrno>
#include <unistd.h>

namespace {

// How often a run in the background looks whether it is back in front.
constexpr int lBackgroundMs = 1000;

// The terminal's input belongs to another job: a read would stop this
// process, halfway through a board, until it is brought back.
bool InBackground() {
    const pid_t lForeground = ::tcgetpgrp(STDIN_FILENO);
    return lForeground > 0 && lForeground != ::getpgrp();
}

} // namespace

clsTerminalEnd::clsTerminalEnd() {
    if (::isatty(STDIN_FILENO) == 1) {
        oNotifier = std::make_unique<QSocketNotifier>(STDIN_FILENO, QSocketNotifier::Read);
        connect(oNotifier.get(), &QSocketNotifier::activated, this, &clsTerminalEnd::Read);
    }
}

void clsTerminalEnd::Read() {
    if (InBackground()) {
        oNotifier->setEnabled(false);
        QTimer::singleShot(lBackgroundMs, oNotifier.get(), [this] { oNotifier->setEnabled(true); });
        return;
    }
    char aChunk[256];
    const ssize_t lRead = ::read(STDIN_FILENO, aChunk, sizeof aChunk);
    if (lRead > 0 || (lRead < 0 && (errno == EINTR || errno == EAGAIN))) {
        return;
    }
    // A terminal that cannot be read any more ends as well.
    oNotifier->setEnabled(false);
    emit Ended();
}
