#include "ui/mdlSysInfo.h"

#include <QStandardPaths>

namespace mdlSysInfo {

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

} // namespace mdlSysInfo
