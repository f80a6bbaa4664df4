#include "platform/clsFileLock.h"

#include <QFile>

#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

qint64 AgeMs(const struct stat& oFile) {
    timespec oNow{};
    ::clock_gettime(CLOCK_REALTIME, &oNow);
    return std::llabs((oNow.tv_sec - oFile.st_mtim.tv_sec) * 1000 +
                      (oNow.tv_nsec - oFile.st_mtim.tv_nsec) / 1'000'000);
}

bool IsSameFile(const QByteArray& aPath, const struct stat& oOpened) {
    struct stat oNamed {};
    return ::stat(aPath.constData(), &oNamed) == 0 && oNamed.st_ino == oOpened.st_ino &&
           oNamed.st_dev == oOpened.st_dev;
}

} // namespace

// QLockFile itself takes an empty lock file for stale only at the age it
// gives a holder on another machine. A holder keeps the file locked while
// it exists, so one held now is not removed; nor is one that took another's
// place since it was looked at.
void clsFileLock::ClearEmptyLock() const {
    const QByteArray aLock = QFile::encodeName(oLock.fileName());
    const int lHandle = ::open(aLock.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (lHandle < 0) {
        return;
    }
    struct stat oOpened {};
    if (::fstat(lHandle, &oOpened) == 0 && S_ISREG(oOpened.st_mode) && oOpened.st_size == 0 &&
        AgeMs(oOpened) >= lEmptyStaleMs && ::flock(lHandle, LOCK_EX | LOCK_NB) == 0 &&
        IsSameFile(aLock, oOpened)) {
        ::unlink(aLock.constData());
    }
    ::close(lHandle);
}
