#include "platform/mdlDurableFile_p.h"

#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using mdlDurableFile::eWritten;

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

} // namespace

namespace mdlDurableFile::Native {

QString Reason() {
    return qt_error_string(errno);
}

eWritten MayReplace(const QString& sTarget, QString& sWhy) {
    // A file made read-only (or immutable) is meant to stay as it is, though
    // the folder would let a new one take its name.
    if (::access(QFile::encodeName(sTarget).constData(), W_OK) != 0 && errno != ENOENT) {
        return Failed(sWhy);
    }
    return eWritten::Written;
}

// Under one name that the lock keeps to one writer: nothing piles up.
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

eWritten PutInPlace(const QString& sNew, const QString& sTarget, QString& sWhy) {
    if (::rename(QFile::encodeName(sNew).constData(), QFile::encodeName(sTarget).constData()) !=
        0) {
        return Failed(sWhy);
    }
    SyncFolder(QFileInfo(sTarget).path());
    return eWritten::Written;
}

bool Size(int lHandle, qint64& lSize) {
    struct stat oStatus {};
    if (::fstat(lHandle, &oStatus) != 0) {
        return false;
    }
    lSize = oStatus.st_size;
    return true;
}

bool ByteAt(int lHandle, qint64 lOffset, char& cByte) {
    return ::pread(lHandle, &cByte, 1, lOffset) == 1;
}

qint64 WriteAtEnd(int lHandle, QByteArrayView aBytes) {
    // The file is open for adding: every write goes to its end.
    return ::write(lHandle, aBytes.data(), size_t(aBytes.size()));
}

bool Sync(int lHandle) {
    return ::fsync(lHandle) == 0;
}

bool CutBack(int lHandle, qint64 lSize) {
    return ::ftruncate(lHandle, lSize) == 0;
}

} // namespace mdlDurableFile::Native
