#include "platform/mdlDurableFile_p.h"

#include "core/mdlWindowsPath.h"

#include <io.h>
#include <windows.h>

namespace {

using mdlDurableFile::eWritten;

// Attributes that a new file is made with and a replaced one keeps.
constexpr DWORD lKeptAttributes =
    FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

HANDLE HandleOf(int lHandle) {
    return reinterpret_cast<HANDLE>(::_get_osfhandle(lHandle));
}

OVERLAPPED At(qint64 lOffset) {
    OVERLAPPED oAt{};
    oAt.Offset = DWORD(lOffset);
    oAt.OffsetHigh = DWORD(quint64(lOffset) >> 32);
    return oAt;
}

eWritten Failed(DWORD lError, QString& sWhy) {
    sWhy = qt_error_string(int(lError));
    return lError == ERROR_DISK_FULL || lError == ERROR_HANDLE_DISK_FULL ||
                   lError == ERROR_FILE_TOO_LARGE
               ? eWritten::NoRoom
               : eWritten::Refused;
}

} // namespace

namespace mdlDurableFile::Native {

QString Reason() {
    return qt_error_string(int(::GetLastError()));
}

eWritten MayReplace(const QString& sTarget, QString& sWhy) {
    // A file made read-only is meant to stay as it is, though the folder
    // would let a new one take its name.
    const DWORD lAttributes = ::GetFileAttributesW(mdlWindowsPath::Native(sTarget).c_str());
    if (lAttributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD lError = ::GetLastError();
        return lError == ERROR_FILE_NOT_FOUND || lError == ERROR_PATH_NOT_FOUND
                   ? eWritten::Written
                   : Failed(lError, sWhy);
    }
    return lAttributes & FILE_ATTRIBUTE_READONLY ? Failed(ERROR_ACCESS_DENIED, sWhy)
                                                 : eWritten::Written;
}

// Under one name that the lock keeps to one writer: nothing piles up.
eWritten WriteBeside(const QString& sTarget, const QString& sNew, const QByteArray& aText,
                     QString& sWhy) {
    const DWORD lTarget = ::GetFileAttributesW(mdlWindowsPath::Native(sTarget).c_str());
    const DWORD lKept = lTarget == INVALID_FILE_ATTRIBUTES ? 0 : lTarget & lKeptAttributes;
    const std::wstring sNewPath = mdlWindowsPath::Native(sNew);
    ::DeleteFileW(sNewPath.c_str());
    const HANDLE hNew = ::CreateFileW(sNewPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      lKept == 0 ? FILE_ATTRIBUTE_NORMAL : lKept, nullptr);
    if (hNew == INVALID_HANDLE_VALUE) {
        return Failed(::GetLastError(), sWhy);
    }
    DWORD lWritten = 0;
    eWritten iWritten = eWritten::Written;
    if (!::WriteFile(hNew, aText.constData(), DWORD(aText.size()), &lWritten, nullptr) ||
        !::FlushFileBuffers(hNew)) {
        iWritten = Failed(::GetLastError(), sWhy);
    } else if (lWritten != DWORD(aText.size())) {
        sWhy = QStringLiteral("only %1 of %2 bytes written").arg(lWritten).arg(aText.size());
        iWritten = eWritten::NoRoom;
    }
    ::CloseHandle(hNew);
    return iWritten;
}

eWritten PutInPlace(const QString& sNew, const QString& sTarget, QString& sWhy) {
    const std::wstring sNewPath = mdlWindowsPath::Native(sNew);
    const std::wstring sTargetPath = mdlWindowsPath::Native(sTarget);
    if (::ReplaceFileW(sTargetPath.c_str(), sNewPath.c_str(), nullptr,
                       REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        return eWritten::Written;
    }
    const DWORD lError = ::GetLastError();
    // ReplaceFileW wants a file to replace; where there is none, or where it
    // failed once it had taken the old one away, the new one is moved there.
    if (::GetFileAttributesW(sTargetPath.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return Failed(lError, sWhy);
    }
    return ::MoveFileExW(sNewPath.c_str(), sTargetPath.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? eWritten::Written
               : Failed(::GetLastError(), sWhy);
}

bool Size(int lHandle, qint64& lSize) {
    LARGE_INTEGER oSize{};
    if (!::GetFileSizeEx(HandleOf(lHandle), &oSize)) {
        return false;
    }
    lSize = oSize.QuadPart;
    return true;
}

bool ByteAt(int lHandle, qint64 lOffset, char& cByte) {
    OVERLAPPED oAt = At(lOffset);
    DWORD lRead = 0;
    return ::ReadFile(HandleOf(lHandle), &cByte, 1, &lRead, &oAt) && lRead == 1;
}

qint64 WriteAtEnd(int lHandle, QByteArrayView aBytes) {
    // The offset that the system takes for the end of the file.
    OVERLAPPED oEnd = At(-1);
    DWORD lWritten = 0;
    return ::WriteFile(HandleOf(lHandle), aBytes.data(), DWORD(aBytes.size()), &lWritten, &oEnd)
               ? qint64(lWritten)
               : -1;
}

bool Sync(int lHandle) {
    return ::FlushFileBuffers(HandleOf(lHandle));
}

bool CutBack(int lHandle, qint64 lSize) {
    LARGE_INTEGER oSize{};
    oSize.QuadPart = lSize;
    return ::SetFilePointerEx(HandleOf(lHandle), oSize, nullptr, FILE_BEGIN) &&
           ::SetEndOfFile(HandleOf(lHandle));
}

} // namespace mdlDurableFile::Native
