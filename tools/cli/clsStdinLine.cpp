#include "tools/cli/clsStdinLine.h"

#include <QEventLoop>
#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

std::optional<QString> clsStdinLine::Read() {
    if (::fcntl(STDIN_FILENO, F_GETFL) == -1) {
        return std::nullopt;
    }
    QByteArray aLine;
    bool bEnded = false;
    QEventLoop oLoop;
    const QSocketNotifier oReady(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&oReady, &QSocketNotifier::activated, &oLoop, [&] {
        char aChunk[256];
        const ssize_t lRead = ::read(STDIN_FILENO, aChunk, sizeof aChunk);
        // Another reader of a shared, non-blocking input may have taken what
        // woke us: that is no end of input.
        if (lRead < 0 && (errno == EINTR || errno == EAGAIN)) {
            return;
        }
        aLine.append(aChunk, std::max<ssize_t>(lRead, 0));
        if (lRead <= 0 || aLine.contains('\n')) {
            bEnded = true;
            oLoop.quit();
        }
    });
    pWaiting = &oLoop;
    oLoop.exec();
    pWaiting = nullptr;
    if (!bEnded || aLine.isEmpty()) {
        return std::nullopt;
    }
    // A last line without its end is still the answer.
    return QString::fromUtf8(aLine.split('\n').constFirst());
}

void clsStdinLine::Abandon() {
    if (pWaiting) {
        pWaiting->quit();
    }
}
