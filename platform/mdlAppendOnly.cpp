#include "platform/mdlAppendOnly.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Another program holds the file for a look and a write, moments; one
// stopped between them (Ctrl+Z) would hold every upload's end for ever.
constexpr int lLockWaitMs = 1000;
constexpr int lLockRetryMs = 10;

// Takes the file's lock, or goes on without it once lLockWaitMs went by,
// and at once where the file has no locks to give.
void LockWithin(int lHandle) {
    const QDeadlineTimer oDeadline(lLockWaitMs);
    while (::flock(lHandle, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK &&
           !oDeadline.hasExpired()) {
        QThread::msleep(lLockRetryMs);
    }
}

// Whether the file open as lHandle ends in the middle of a line.
bool EndsInsideLine(int lHandle) {
    struct stat oStatus {};
    char cLast = '\n';
    return ::fstat(lHandle, &oStatus) == 0 && oStatus.st_size > 0 &&
           ::pread(lHandle, &cLast, 1, oStatus.st_size - 1) == 1 && cLast != '\n';
}

// One write: with O_APPEND the system puts it whole after every other
// program's, never between the bytes of one.
QString Write(int lHandle, const QByteArray& aBytes) {
    const ssize_t lWritten = ::write(lHandle, aBytes.constData(), size_t(aBytes.size()));
    if (lWritten < 0) {
        return qt_error_string(errno);
    }
    if (lWritten != aBytes.size()) {
        return QStringLiteral("only %1 of %2 bytes written").arg(lWritten).arg(aBytes.size());
    }
    return ::fsync(lHandle) == 0 ? QString() : qt_error_string(errno);
}

} // namespace

namespace mdlAppendOnly {

QString AppendLine(const QString& sPath, const QByteArray& aLine) {
    // A folder that cannot be made shows itself in the open's reason.
    QDir().mkpath(QFileInfo(sPath).path());
    const int lHandle =
        ::open(QFile::encodeName(sPath).constData(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (lHandle < 0) {
        return qt_error_string(errno);
    }
    // Another program's line may be half way into the file while the last
    // byte is looked at; the lock keeps the look and the write together.
    // Without locks the line still goes in whole, at worst after a blank one.
    LockWithin(lHandle);
    const QString sFailure = Write(lHandle, EndsInsideLine(lHandle) ? '\n' + aLine : aLine);
    ::close(lHandle);
    return sFailure;
}

} // namespace mdlAppendOnly
