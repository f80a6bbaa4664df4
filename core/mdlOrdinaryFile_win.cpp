#include "core/mdlOrdinaryFile.h"

#include "core/mdlWindowsPath.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace {

QString NotOrdinaryKind(const QString& sKind) {
    return QStringLiteral("not an ordinary file but ") + sKind;
}

// Names that lead to a device whatever the folder and the extension
// ("C:\x\nul.txt"), and paths in the system's namespaces other than a
// drive's, a share's or a volume's files.
bool NamesDevice(const QString& sPath) {
    static const QRegularExpression oNamespace(
        QStringLiteral(R"(^\\\\(\.\\|\?\\(?![a-z]:\\|unc\\|volume\{[^}]*\}\\.)))"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression oDevice(
        QStringLiteral(R"(^([a-z]:)?(con|prn|aux|nul|com[0-9\x{b9}\x{b2}\x{b3}]|)"
                       R"(lpt[0-9\x{b9}\x{b2}\x{b3}]|conin\$|conout\$) *([.:].*)?$)"),
        QRegularExpression::CaseInsensitiveOption);
    const QString sNative = QDir::toNativeSeparators(sPath);
    return oNamespace.match(sNative).hasMatch() ||
           oDevice.match(sNative.mid(sNative.lastIndexOf(u'\\') + 1)).hasMatch();
}

// What hFile is where it is no ordinary file; empty for one.
QString KindOf(HANDLE hFile) {
    BY_HANDLE_FILE_INFORMATION oInfo{};
    switch (::GetFileType(hFile)) {
    case FILE_TYPE_DISK:
        if (!::GetFileInformationByHandle(hFile, &oInfo)) {
            return QStringLiteral("something else");
        }
        return oInfo.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? QStringLiteral("a folder")
                                                                 : QString();
    case FILE_TYPE_CHAR:
        return QStringLiteral("a device");
    case FILE_TYPE_PIPE:
        return QStringLiteral("a pipe");
    default:
        return QStringLiteral("something else");
    }
}

} // namespace

namespace mdlOrdinaryFile {

eOpened Open(QFile& oFile, const QString& sPath, QIODevice::OpenMode iMode, QString& sWhy) {
    // Refused by the name first: opening a port or a printer already does
    // something to it.
    if (NamesDevice(sPath)) {
        sWhy = NotOrdinaryKind(QStringLiteral("a device"));
        return eOpened::Refused;
    }
    // Shared for deletion too, so that a reader never keeps a writer from
    // putting a new file in its place.
    const bool bAppend = iMode.testFlag(QIODevice::Append);
    const HANDLE hFile =
        ::CreateFileW(mdlWindowsPath::Native(sPath).c_str(),
                      bAppend ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      bAppend ? OPEN_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        const DWORD lReason = ::GetLastError();
        const QString sOther = NotOrdinary(sPath);
        sWhy = sOther.isEmpty() ? qt_error_string(int(lReason)) : sOther;
        return (lReason == ERROR_FILE_NOT_FOUND || lReason == ERROR_PATH_NOT_FOUND) && !bAppend
                   ? eOpened::Missing
                   : eOpened::Refused;
    }
    // Asked of what was opened, since a link may lead where no name says.
    if (const QString sKind = KindOf(hFile); !sKind.isEmpty()) {
        sWhy = NotOrdinaryKind(sKind);
        ::CloseHandle(hFile);
        return eOpened::Refused;
    }
    const int lHandle = ::_open_osfhandle(intptr_t(hFile), bAppend ? _O_APPEND : _O_RDONLY);
    if (lHandle < 0) {
        sWhy = qt_error_string(errno);
        ::CloseHandle(hFile);
        return eOpened::Refused;
    }
    if (!oFile.open(lHandle, iMode, QFileDevice::AutoCloseHandle)) {
        sWhy = oFile.errorString();
        ::_close(lHandle);
        return eOpened::Refused;
    }
    return eOpened::Opened;
}

bool NameTooLong(const QString& sPath) {
    // The longest path with the long-path prefix, and the longest name in it.
    constexpr qsizetype lLongestPath = 32767;
    constexpr qsizetype lLongestName = 255;
    const QStringList asNames = QDir::fromNativeSeparators(sPath).split(u'/');
    return sPath.size() > lLongestPath ||
           std::any_of(asNames.cbegin(), asNames.cend(),
                       [](const QString& sName) { return sName.size() > lLongestName; });
}

QString NotOrdinary(const QString& sPath) {
    if (NamesDevice(sPath)) {
        return NotOrdinaryKind(QStringLiteral("a device"));
    }
    // Its attributes alone do not tell a device from a file.
    const HANDLE hFile = ::CreateFileW(mdlWindowsPath::Native(sPath).c_str(), FILE_READ_ATTRIBUTES,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (hFile == INVALID_HANDLE_VALUE) {
        return {};
    }
    const QString sKind = KindOf(hFile);
    ::CloseHandle(hFile);
    return sKind.isEmpty() ? QString() : NotOrdinaryKind(sKind);
}

std::pair<qint64, qint64> SizeAndWrite(const QFile& oFile) {
    BY_HANDLE_FILE_INFORMATION oInfo{};
    const auto hFile = reinterpret_cast<HANDLE>(::_get_osfhandle(oFile.handle()));
    if (hFile == INVALID_HANDLE_VALUE || !::GetFileInformationByHandle(hFile, &oInfo)) {
        return {-1, -1};
    }
    // Windows counts in units of 100 ns.
    constexpr qint64 lNanosecondsPerTick = 100;
    return {
        qint64(oInfo.nFileSizeHigh) << 32 | oInfo.nFileSizeLow,
        (qint64(oInfo.ftLastWriteTime.dwHighDateTime) << 32 | oInfo.ftLastWriteTime.dwLowDateTime) *
            lNanosecondsPerTick};
}

} // namespace mdlOrdinaryFile
