#include "platform/clsUnnamedFile.h"

#include <QFile>

#include <cerrno>
#include <sys/mman.h>
#include <unistd.h>

clsUnnamedFile::~clsUnnamedFile() {
    if (lHandle >= 0) {
        ::close(int(lHandle));
    }
}

bool clsUnnamedFile::Hold(const QByteArray& aBytes, QString& sWhy) {
    // Without close-on-exec, so that the programs started after inherit it.
    lHandle = ::memfd_create("tessivar", 0);
    if (lHandle < 0) {
        sWhy = qt_error_string(errno);
        return false;
    }
    // Opened anew by this path, the file is read from its start whatever the
    // other programs sharing the inherited handle have read.
    sPathInChildren = QStringLiteral("/proc/self/fd/%1").arg(lHandle);
    QFile oFile;
    if (!oFile.open(int(lHandle), QIODevice::WriteOnly, QFileDevice::DontCloseHandle) ||
        oFile.write(aBytes) != aBytes.size() || !oFile.flush()) {
        sWhy = oFile.errorString();
        return false;
    }
    return true;
}
