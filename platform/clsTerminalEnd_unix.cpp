#include "platform/clsTerminalEnd.h"

#include <QSocketNotifier>
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

void Read(QSocketNotifier& oNotifier, clsTerminalEnd& oEnd) {
    if (InBackground()) {
        oNotifier.setEnabled(false);
        QTimer::singleShot(lBackgroundMs, &oNotifier, [&oNotifier] { oNotifier.setEnabled(true); });
        return;
    }
    char aChunk[256];
    const ssize_t lRead = ::read(STDIN_FILENO, aChunk, sizeof aChunk);
    if (lRead > 0 || (lRead < 0 && (errno == EINTR || errno == EAGAIN))) {
        return;
    }
    // A terminal that cannot be read any more ends as well.
    oNotifier.setEnabled(false);
    emit oEnd.Ended();
}

} // namespace

QString clsTerminalEnd::EndKeys() {
    return QStringLiteral("Ctrl+D");
}

clsTerminalEnd::clsTerminalEnd() {
    if (::isatty(STDIN_FILENO) == 1) {
        auto oNotifier = std::make_unique<QSocketNotifier>(STDIN_FILENO, QSocketNotifier::Read);
        QSocketNotifier& oWatched = *oNotifier;
        connect(&oWatched, &QSocketNotifier::activated, this,
                [this, &oWatched] { Read(oWatched, *this); });
        oWatch = std::move(oNotifier);
    }
}
