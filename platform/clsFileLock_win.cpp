#include "platform/clsFileLock.h"

#include "core/mdlWindowsPath.h"

#include <cstdlib>
#include <windows.h>

namespace {

qint64 AgeMs(const FILETIME& oWritten) {
    FILETIME oNow{};
    ::GetSystemTimeAsFileTime(&oNow);
    const auto Ticks = [](const FILETIME& oTime) {
        return qint64(quint64(oTime.dwHighDateTime) << 32 | oTime.dwLowDateTime);
    };
    // In ticks of 100 ns.
    return std::llabs(Ticks(oNow) - Ticks(oWritten)) / 10'000;
}

} // namespace

// QLockFile itself takes an empty lock file for stale only at the age it
// gives a holder on another machine. A holder keeps the file open without
// letting it be deleted while it exists (QLockFile takes no byte-range
// lock), so one held now does not open here; the file is deleted through
// the handle it was looked at by, so one that took another's place since is
// not. Shared for deletion, so that a holder that lets go can remove it.
void clsFileLock::ClearEmptyLock() const {
    const HANDLE hLock = ::CreateFileW(
        mdlWindowsPath::Native(oLock.fileName()).c_str(), DELETE | FILE_READ_ATTRIBUTES,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (hLock == INVALID_HANDLE_VALUE) {
        return;
    }
    BY_HANDLE_FILE_INFORMATION oInfo{};
    if (::GetFileType(hLock) == FILE_TYPE_DISK && ::GetFileInformationByHandle(hLock, &oInfo) &&
        (oInfo.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0 &&
        oInfo.nFileSizeHigh == 0 && oInfo.nFileSizeLow == 0 &&
        AgeMs(oInfo.ftLastWriteTime) >= lEmptyStaleMs) {
        FILE_DISPOSITION_INFO oDelete{TRUE};
        ::SetFileInformationByHandle(hLock, FileDispositionInfo, &oDelete, sizeof oDelete);
    }
    ::CloseHandle(hLock);
}
