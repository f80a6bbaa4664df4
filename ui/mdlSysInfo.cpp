#include "ui/mdlSysInfo.h"

#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

namespace mdlSysInfo {

#ifdef Q_OS_WIN

namespace {

QString MachineText(const QString& sKeyName, const QString& sValueName) {
    const QSettings oKey(QStringLiteral("HKEY_LOCAL_MACHINE\\") + sKeyName,
                         QSettings::NativeFormat);
    return oKey.value(sValueName).toString();
}

} // namespace

QString ToolPath() {
    const QString sPath = MachineText(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                                      QStringLiteral("PATH"));
    if (!sPath.isEmpty()) {
        return sPath;
    }
    const QString sFolder = MachineText(
        QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"), QStringLiteral("MSINFO"));
    const QString sTool = sFolder + QStringLiteral("\\MSINFO32.EXE");
    return !sFolder.isEmpty() && QFileInfo::exists(sTool) ? sTool : QString();
}

#else

QString ToolPath() {
    return FirstInstalled({QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"),
                           QStringLiteral("kinfocenter"), QStringLiteral("gnome-system-monitor")});
}

#endif

QString FirstInstalled(const QStringList& asNames, const QStringList& asFolders) {
    for (const QString& sName : asNames) {
        const QString sPath = QStandardPaths::findExecutable(sName, asFolders);
        if (!sPath.isEmpty()) {
            return sPath;
        }
    }
    return {};
}

bool Start(const QString& sPath) {
    return QProcess::startDetached(sPath, {});
}

} // namespace mdlSysInfo
