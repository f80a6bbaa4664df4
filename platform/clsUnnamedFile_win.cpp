#include "platform/clsUnnamedFile.h"

#include <QDir>
#include <QUuid>

#include <windows.h>

clsUnnamedFile::~clsUnnamedFile() {
    if (lHandle != -1) {
        ::CloseHandle(HANDLE(lHandle));
    }
}

bool clsUnnamedFile::Hold(const QByteArray& aBytes, QString& sWhy) {
    const QString sPath = QDir::toNativeSeparators(QDir::temp().filePath(
        QStringLiteral("tessivar-%1.tmp").arg(QUuid::createUuid().toString(QUuid::WithoutBraces))));
    // Made and marked at once, so that no moment leaves a file a kill would
    // forget; not inherited, so that it goes with this program and the
    // programs' own handles.
    const HANDLE hFile =
        ::CreateFileW(reinterpret_cast<const wchar_t*>(sPath.utf16()), GENERIC_WRITE,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        sWhy = qt_error_string();
        return false;
    }
    lHandle = qintptr(hFile);
    sPathInChildren = sPath;
    DWORD lWritten = 0;
    if (!::WriteFile(hFile, aBytes.constData(), DWORD(aBytes.size()), &lWritten, nullptr) ||
        lWritten != DWORD(aBytes.size())) {
        sWhy = qt_error_string();
        return false;
    }
    return true;
}
