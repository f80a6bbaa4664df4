#include "tests/platform/mdlFileCases.h"

#include "tests/support/mdlForked.h"

#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

namespace mdlFileCases {

QList<Other> NotOrdinary(const QString& sFolder) {
    const QString sFifo = sFolder + QStringLiteral("/fifo");
    if (::mkfifo(QFile::encodeName(sFifo).constData(), 0666) != 0) {
        qFatal("cannot make a FIFO");
    }
    return {{"a device", QStringLiteral("/dev/null"), QStringLiteral("a device")},
            {"a FIFO", sFifo, QStringLiteral("a FIFO")}};
}

std::shared_ptr<void> HoldAsTaker(const QString& sLock) {
    const int lHandle = ::open(QFile::encodeName(sLock).constData(), O_RDWR | O_CLOEXEC);
    if (lHandle < 0 || ::flock(lHandle, LOCK_EX | LOCK_NB) != 0) {
        qFatal("cannot hold the lock file");
    }
    return std::shared_ptr<void>(nullptr, [lHandle](void*) { ::close(lHandle); });
}

QString WithoutRights(const QString& sFolder, const std::function<QString()>& oWork) {
    ::chmod(QFile::encodeName(sFolder).constData(), 0777);
    return mdlForked::RunAsNobody(oWork);
}

void MakeUncommon(const QString& sPath) {
    ::chmod(QFile::encodeName(sPath).constData(), 0606);
}

bool IsUncommon(const QString& sPath) {
    struct stat oStatus {};
    return ::stat(QFile::encodeName(sPath).constData(), &oStatus) == 0 &&
           (oStatus.st_mode & 07777) == 0606;
}

} // namespace mdlFileCases
