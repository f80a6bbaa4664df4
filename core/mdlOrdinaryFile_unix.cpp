#include "core/mdlOrdinaryFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString KindOf(mode_t lMode) {
    if (S_ISDIR(lMode)) {
        return QStringLiteral("a folder");
    }
    if (S_ISFIFO(lMode)) {
        return QStringLiteral("a FIFO");
    }
    if (S_ISCHR(lMode) || S_ISBLK(lMode)) {
        return QStringLiteral("a device");
    }
    return S_ISSOCK(lMode) ? QStringLiteral("a socket") : QStringLiteral("something else");
}

QString NotOrdinaryMode(mode_t lMode) {
    return QStringLiteral("not an ordinary file but ") + KindOf(lMode);
}

// Adding opens for reading too, to look at the end of what is there.
int Flags(QIODevice::OpenMode iMode) {
    return iMode.testFlag(QIODevice::Append) ? O_RDWR | O_APPEND | O_CREAT : O_RDONLY;
}

} // namespace

namespace mdlOrdinaryFile {

eOpened Open(QFile& oFile, const QString& sPath, QIODevice::OpenMode iMode, QString& sWhy) {
    // Opened without waiting and only then asked what it is: a FIFO would
    // hold a plain open for ever, and a name looked at before the open can
    // lead elsewhere by the time of it.
    const QByteArray aPath = QFile::encodeName(sPath);
    const int lHandle =
        ::open(aPath.constData(), Flags(iMode) | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (lHandle < 0) {
        const int lReason = errno;
        struct stat oNamed {};
        // A FIFO that nobody reads refuses a writer.
        const bool bOther = ::stat(aPath.constData(), &oNamed) == 0 && !S_ISREG(oNamed.st_mode);
        sWhy = bOther ? NotOrdinaryMode(oNamed.st_mode) : qt_error_string(lReason);
        return lReason == ENOENT && !iMode.testFlag(QIODevice::Append) ? eOpened::Missing
                                                                       : eOpened::Refused;
    }
    struct stat oStatus {};
    if (::fstat(lHandle, &oStatus) != 0 || !S_ISREG(oStatus.st_mode)) {
        sWhy = NotOrdinaryMode(oStatus.st_mode);
        ::close(lHandle);
        return eOpened::Refused;
    }
    ::fcntl(lHandle, F_SETFL, ::fcntl(lHandle, F_GETFL) & ~O_NONBLOCK);
    if (!oFile.open(lHandle, iMode, QFileDevice::AutoCloseHandle)) {
        sWhy = oFile.errorString();
        ::close(lHandle);
        return eOpened::Refused;
    }
    return eOpened::Opened;
}

bool NameTooLong(const QString& sPath) {
    return ::access(QFile::encodeName(sPath).constData(), F_OK) != 0 && errno == ENAMETOOLONG;
}

QString NotOrdinary(const QString& sPath) {
    struct stat oNamed {};
    if (::stat(QFile::encodeName(sPath).constData(), &oNamed) != 0 || S_ISREG(oNamed.st_mode)) {
        return {};
    }
    return NotOrdinaryMode(oNamed.st_mode);
}

std::pair<qint64, qint64> SizeAndWrite(const QFile& oFile) {
    struct stat oStatus {};
    if (::fstat(oFile.handle(), &oStatus) != 0) {
        return {-1, -1};
    }
    return {oStatus.st_size,
            qint64(oStatus.st_mtim.tv_sec) * 1'000'000'000 + oStatus.st_mtim.tv_nsec};
}

} // namespace mdlOrdinaryFile
