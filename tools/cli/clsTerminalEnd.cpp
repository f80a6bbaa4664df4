#include "tools/cli/clsTerminalEnd.h"

#include <cerrno>
#include <unistd.h>

clsTerminalEnd::clsTerminalEnd() {
    if (::isatty(STDIN_FILENO) == 1) {
        oNotifier = std::make_unique<QSocketNotifier>(STDIN_FILENO, QSocketNotifier::Read);
        connect(oNotifier.get(), &QSocketNotifier::activated, this, &clsTerminalEnd::Read);
    }
}

void clsTerminalEnd::Read() {
    char aChunk[256];
    const ssize_t lRead = ::read(STDIN_FILENO, aChunk, sizeof aChunk);
    if (lRead > 0 || (lRead < 0 && (errno == EINTR || errno == EAGAIN))) {
        return;
    }
    // A terminal that cannot be read any more ends as well.
    oNotifier->setEnabled(false);
    emit Ended();
}
