#include "tests/platform/mdlFileCases.h"

#include "tests/support/mdlTestFiles.h"

#include <QDir>

#include <windows.h>

namespace mdlFileCases {

QList<Other> NotOrdinary(const QString& sFolder) {
    const QString sDevice = QStringLiteral("a device");
    const QString sFile = mdlTestFiles::Write(QDir(sFolder), QStringLiteral("file"), "x");
    // No COM or LPT name that Wine gives a port of the host's.
    QList<Other> aOthers = {
        {"NUL", QStringLiteral("NUL"), sDevice},
        {"con, lower case", QStringLiteral("con"), sDevice},
        {"nul.txt in a folder", sFolder + QStringLiteral("/nul.txt"), sDevice},
        {"AUX with a space and an extension", sFolder + QStringLiteral("\\AUX .log"), sDevice},
        {"PRN", QStringLiteral("prn"), sDevice},
        {"COM9 with an extension", sFolder + QStringLiteral("/com9.txt"), sDevice},
        {"LPT3", QStringLiteral("LPT3"), sDevice},
        {"an ordinary file by a device path",
         QStringLiteral("\\\\.\\") + QDir::toNativeSeparators(sFile), sDevice},
        {"the null device in the object namespace",
         QStringLiteral("\\\\?\\GLOBALROOT\\Device\\Null"), sDevice},
    };
    // Wine alone has paths that no device name gives away.
    if (::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr) {
        aOthers.append({"a device under a plain name", QStringLiteral("Z:\\dev\\null"), sDevice});
    }
    return aOthers;
}

std::shared_ptr<void> HoldAsTaker(const QString& sLock) {
    // As QLockFile holds it: others may read it, none may delete it.
    const HANDLE hLock =
        ::CreateFileW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(sLock).utf16()),
                      GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hLock == INVALID_HANDLE_VALUE) {
        qFatal("cannot hold the lock file");
    }
    return std::shared_ptr<void>(hLock, ::CloseHandle);
}

QString WithoutRights(const QString&, const std::function<QString()>& oWork) {
    // A read-only file stays so for an administrator too.
    return oWork();
}

void MakeUncommon(const QString& sPath) {
    ::SetFileAttributesW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(sPath).utf16()),
                         FILE_ATTRIBUTE_HIDDEN);
}

bool IsUncommon(const QString& sPath) {
    const DWORD lAttributes = ::GetFileAttributesW(
        reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(sPath).utf16()));
    return lAttributes != INVALID_FILE_ATTRIBUTES && (lAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
}

} // namespace mdlFileCases
