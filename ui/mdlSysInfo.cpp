#include "ui/mdlSysInfo.h"

#include <QProcess>

namespace mdlSysInfo {

bool Start(const QString& sPath) {
    return QProcess::startDetached(sPath, {});
}

} // namespace mdlSysInfo
