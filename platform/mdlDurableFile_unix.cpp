#include "platform/mdlDurableFile.h"

#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using mdlDurableFile::eWritten;

QString Reason() {
    return qt_error_string(errno);
}

// What errno tells of a write that failed, and why in words.
eWritten Failed(QString& sWhy) {
    const int lError = errno;
    sWhy = qt_error_string(lError);
    return lError == ENOSPC || lError == EFBIG || lError == EDQUOT ? eWritten::NoRoom
                                                                   : eWritten::Refused;
}

// Writes aBytes whole, or says why not.
eWritten WriteAll(int lHandle, QByteArrayView aBytes, QString& sWhy) {
    for (qsizetype lDone = 0; lDone < aBytes.size();) {
        const ssize_t lWritten =
            ::write(lHandle, aBytes.data() + lDone, size_t(aBytes.size() - lDone));
        if (lWritten < 0) {
            return Failed(sWhy);
        }
        if (lWritten == 0) {
            sWhy = QStringLiteral("nothing more could be written");
            return eWritten::NoRoom;
        }
        lDone += lWritten;
    }
    return eWritten::Written;
}

// A name that another folder entry takes over is on disk only once the
// folder is. Some shares cannot sync a folder; the file is synced all the
// same.
void SyncFolder(const QString& sFolder) {
    const int lFolder =
        ::open(QFile::encodeName(sFolder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (lFolder >= 0) {
        ::fsync(lFolder);
        ::close(lFolder);
    }
}

// The new file, beside sTarget under one name that the lock keeps to one
// writer: what a program killed while it wrote there left goes with the
// next save, and nothing piles up.
eWritten WriteBeside(const QString& sTarget, const QString& sNew, const QByteArray& aText,
                     QString& sWhy) {
    struct stat oTarget {};
    const mode_t lMode =
        ::stat(QFile::encodeName(sTarget).constData(), &oTarget) == 0 ? oTarget.st_mode : 0666;
    const QByteArray aNew = QFile::encodeName(sNew);
    ::unlink(aNew.constData());
    const int lHandle =
        ::open(aNew.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lHandle < 0) {
        return Failed(sWhy);
    }
    eWritten iWritten = WriteAll(lHandle, aText, sWhy);
    if (iWritten == eWritten::Written &&
        (::fchmod(lHandle, lMode & 07777) != 0 || ::fsync(lHandle) != 0)) {
        iWritten = Failed(sWhy);
    }
    ::close(lHandle);
    return iWritten;
}

} // namespace

namespace mdlDurableFile {

eWritten Replace(const QString& sPath, const QByteArray& aText, QString& sWhy) {
    const QString sCanonical = QFileInfo(sPath).canonicalFilePath();
    const QString sTarget = sCanonical.isEmpty() ? QFileInfo(sPath).absoluteFilePath() : sCanonical;
    // A file made read-only (or immutable) is meant to stay as it is, though
    // the folder would let a new one take its name.
    if (::access(QFile::encodeName(sTarget).constData(), W_OK) != 0 && errno != ENOENT) {
        return Failed(sWhy);
    }
    const QString sNew = sTarget + QStringLiteral(".new");
    eWritten iWritten = WriteBeside(sTarget, sNew, aText, sWhy);
    if (iWritten == eWritten::Written) {
        Pass("replacing");
        if (::rename(QFile::encodeName(sNew).constData(), QFile::encodeName(sTarget).constData()) ==
            0) {
            SyncFolder(QFileInfo(sTarget).path());
            Pass("written");
            return eWritten::Written;
        }
        iWritten = Failed(sWhy);
    }
    ::unlink(QFile::encodeName(sNew).constData());
    return iWritten;
}

bool Append(const QString& sPath, const QByteArray& aEntry, QString& sWhy) {
    QFile oFile(sPath);
    if (mdlOrdinaryFile::Open(oFile, sPath, QIODevice::WriteOnly | QIODevice::Append, sWhy) !=
        eOpened::Opened) {
        return false;
    }
    const int lHandle = oFile.handle();
    struct stat oStatus {};
    char cLast = '\n';
    if (::fstat(lHandle, &oStatus) != 0) {
        sWhy = Reason();
        return false;
    }
    if (oStatus.st_size > 0 && ::pread(lHandle, &cLast, 1, oStatus.st_size - 1) != 1) {
        cLast = '\n';
    }
    // One write: a reader sees the entry whole or not at all.
    const QByteArray aBytes = cLast == '\n' ? aEntry : '\n' + aEntry;
    const ssize_t lWritten = ::write(lHandle, aBytes.constData(), size_t(aBytes.size()));
    if (lWritten == aBytes.size() && ::fsync(lHandle) == 0) {
        Pass("written");
        return true;
    }
    sWhy = lWritten < 0 || lWritten == aBytes.size()
               ? Reason()
               : QStringLiteral("only %1 of %2 bytes written").arg(lWritten).arg(aBytes.size());
    // The lock keeps every other writer out: what follows the old end is ours.
    if (lWritten > 0 && ::ftruncate(lHandle, oStatus.st_size) != 0) {
        sWhy += QStringLiteral("; the part written could not be cut back: ") + Reason();
    }
    return false;
}

} // namespace mdlDurableFile
