#include "platform/clsStdinLine.h"

#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

std::unique_ptr<QObject> clsStdinLine::Watch(const std::function<void(const QByteArray&)>& oTake) {
    if (::fcntl(STDIN_FILENO, F_GETFL) == -1) {
        return nullptr;
    }
    auto oReady = std::make_unique<QSocketNotifier>(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(oReady.get(), &QSocketNotifier::activated, oReady.get(), [oTake] {
        char aChunk[256];
        const ssize_t lRead = ::read(STDIN_FILENO, aChunk, sizeof aChunk);
        // Another reader of a shared, non-blocking input may have taken what
        // woke us: that is no end of input.
        if (lRead < 0 && (errno == EINTR || errno == EAGAIN)) {
            return;
        }
        oTake(QByteArray(aChunk, std::max<ssize_t>(lRead, 0)));
    });
    return oReady;
}
