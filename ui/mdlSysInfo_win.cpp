#include "ui/mdlSysInfo.h"

#include "platform/clsRegistryHives.h"

#include <QFileInfo>
#include <QProcess>

#include <cstring>

namespace {

// A value stored with no bytes at all: the look-up cannot trim it, and
// gives up.
struct Untrimmable {};

const wchar_t* Wide(const QString& sText) {
    return reinterpret_cast<const wchar_t*>(sText.utf16());
}

// True when the value sSubKeyRef of the key sKeyName below the machine's
// hive was read: sKeyVal gets a text without the one NUL that may end it,
// or a number's decimal text; a value of any other type leaves it as it
// was. Only reading is asked for, which a standard user may do.
bool GetKeyValue(const QString& sKeyName, const QString& sSubKeyRef, QString& sKeyVal) {
    const clsRegistryHives::Key oKey =
        clsRegistryHives::Below(clsRegistryHives::Current().sMachine, sKeyName);
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(oKey.hRoot, Wide(oKey.sPath), 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS) {
        sKeyVal.clear();
        return false;
    }
    wchar_t aBuffer[1024] = {};
    DWORD lType = 0;
    DWORD lSize = sizeof aBuffer;
    const LONG lResult = ::RegQueryValueExW(hKey, Wide(sSubKeyRef), nullptr, &lType,
                                            reinterpret_cast<BYTE*>(aBuffer), &lSize);
    ::RegCloseKey(hKey);
    if (lResult != ERROR_SUCCESS) {
        sKeyVal.clear();
        return false;
    }
    qsizetype lChars = qsizetype(lSize / sizeof(wchar_t));
    if (lChars == 0) {
        throw Untrimmable();
    }
    if (aBuffer[lChars - 1] == 0) {
        --lChars;
    }
    if (lType == REG_SZ) {
        sKeyVal = QString::fromWCharArray(aBuffer, lChars);
    } else if (lType == REG_DWORD) {
        DWORD lValue = 0;
        std::memcpy(&lValue, aBuffer, sizeof lValue);
        sKeyVal = QString::number(lValue);
    }
    return true;
}

} // namespace

namespace mdlSysInfo {

QString ToolPath() {
    QString sPath;
    try {
        if (GetKeyValue(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                        QStringLiteral("PATH"), sPath)) {
            return sPath;
        }
        if (!GetKeyValue(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                         QStringLiteral("MSINFO"), sPath)) {
            return {};
        }
    } catch (const Untrimmable&) {
        return {};
    }
    // As a search for ordinary files finds it: no folder, no hidden file.
    const QString sTool = sPath + QStringLiteral("\\MSINFO32.EXE");
    const QFileInfo oTool(sTool);
    return oTool.isFile() && !oTool.isHidden() ? sTool : QString();
}

bool Open(QWidget& /*oAbout*/) {
    const QString sPath = ToolPath();
    return !sPath.isEmpty() && QProcess::startDetached(sPath, {});
}

} // namespace mdlSysInfo
