#include "ui/mdlSysInfo.h"

#include <QProcess>

#ifdef Q_OS_WIN
#include <QFileInfo>
#include <QSettings>
#else
#include <QStandardPaths>
#endif

namespace mdlSysInfo {

#ifdef Q_OS_WIN

namespace {

// True when the value sSubKeyRef of the key sKeyName below
// HKEY_LOCAL_MACHINE was read as a text that is not empty; sKeyVal gets it.
bool GetKeyValue(const QString& sKeyName, const QString& sSubKeyRef, QString& sKeyVal) {
    const QSettings oKey(QStringLiteral("HKEY_LOCAL_MACHINE\\") + sKeyName,
                         QSettings::NativeFormat);
    sKeyVal = oKey.value(sSubKeyRef).toString();
    return !sKeyVal.isEmpty();
}

} // namespace

QString ToolPath() {
    QString sPath;
    if (GetKeyValue(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                    QStringLiteral("PATH"), sPath)) {
        return sPath;
    }
    if (GetKeyValue(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                    QStringLiteral("MSINFO"), sPath) &&
        QFileInfo::exists(sPath + QStringLiteral("\\MSINFO32.EXE"))) {
        return sPath + QStringLiteral("\\MSINFO32.EXE");
    }
    return {};
}

#else

QString ToolPath() {
    const char* const asTools[] = {"hardinfo2", "hardinfo", "kinfocenter", "gnome-system-monitor"};
    for (const char* sTool : asTools) {
        const QString sPath = QStandardPaths::findExecutable(QLatin1String(sTool));
        if (!sPath.isEmpty()) {
            return sPath;
        }
    }
    return {};
}

#endif

bool Start(const QString& sPath) {
    return QProcess::startDetached(sPath, {});
}

} // namespace mdlSysInfo
