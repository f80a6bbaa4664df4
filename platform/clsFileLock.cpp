#include "platform/clsFileLock.h"

#include "core/mdlOrdinaryFile.h"
#include "platform/mdlDurableFile.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <algorithm>

namespace {

// Between looks at a lock another program holds: short, since a holder
// keeps it for a write of a small file.
constexpr int lLongestPauseMs = 20;

} // namespace

clsFileLock::clsFileLock(const QString& sFile)
    : oLock(mdlDurableFile::Target(sFile) + QStringLiteral(".lock")) {
    oLock.setStaleLockTime(lLongestHoldMs);
}

bool clsFileLock::Lock(int lWaitMs) {
    bBusy = false;
    sError.clear();
    // Nothing here could ever be taken for a holder that went away.
    const QString sOther = QFileInfo(oLock.fileName()).isSymLink()
                               ? QStringLiteral("a symbolic link")
                               : mdlOrdinaryFile::NotOrdinary(oLock.fileName());
    if (!sOther.isEmpty()) {
        sError = QStringLiteral("its lock file %1 is %2").arg(oLock.fileName(), sOther);
        return false;
    }
    QDir().mkpath(QFileInfo(oLock.fileName()).path());
    const QDeadlineTimer oDeadline(lWaitMs);
    for (int lPauseMs = 1;; lPauseMs = std::min(2 * lPauseMs, lLongestPauseMs)) {
        ClearEmptyLock();
        if (oLock.tryLock(0)) {
            mdlDurableFile::Pass("locked");
            return true;
        }
        if (oLock.error() != QLockFile::LockFailedError) {
            sError = QStringLiteral("its lock file %1 cannot be made%2")
                         .arg(oLock.fileName(), oLock.error() == QLockFile::PermissionError
                                                    ? QStringLiteral(": permission denied")
                                                    : QString());
            return false;
        }
        if (oDeadline.hasExpired()) {
            bBusy = true;
            sError = QStringLiteral("locked by another program for more than %1 s")
                         .arg(double(lWaitMs) / 1000);
            return false;
        }
        QThread::msleep(std::min<qint64>(lPauseMs, oDeadline.remainingTime()));
    }
}
