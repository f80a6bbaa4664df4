#include "platform/clsUnnamedFile.h"

#include <QFile>

#include <cerrno>
#include <sys/mman.h>
#include <unistd.h>

clsUnnamedFile::~clsUnnamedFile() {
    if (lHandle >= 0) {
        ::close(lHandle);
    }
}

bool clsUnnamedFile::Hold(const QByteArray& aBytes, QString& sWhy) {
    // Without close-on-exec, so that the programs started after inherit it.
    lHandle = ::memfd_create("tessivar", 0);
    if (lHandle < 0) {
        sWhy = qt_error_string(errno);
        return false;
    }
    QFile oFile;
    if (!oFile.open(lHandle, QIODevice::WriteOnly, QFileDevice::DontCloseHandle) ||
        oFile.write(aBytes) != aBytes.size() || !oFile.flush()) {
        sWhy = oFile.errorString();
        return false;
    }
    return true;
}

// Opened anew by this path, the file is read from its start whatever the
// other programs sharing the inherited handle have read.
QString clsUnnamedFile::PathInChildren() const {
    return QStringLiteral("/proc/self/fd/%1").arg(lHandle);
}
