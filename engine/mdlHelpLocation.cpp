#include "engine/mdlHelpLocation.h"

#include "resources/mdlResources.h"

#include <QDir>
#include <QFileInfo>

namespace mdlHelpLocation {

QString HelpFilePath(const QString& sProgramFolder) {
    const QString sName = mdlResources::HelpFileName();
    const QString sBeside = sProgramFolder + QStringLiteral("/help/") + sName;
    const QString sInstalled =
        QDir::cleanPath(sProgramFolder + QStringLiteral("/../share/tessivar/help/") + sName);
    if (!QFileInfo::exists(sBeside) && QFileInfo::exists(sInstalled)) {
        return sInstalled;
    }
    return sBeside;
}

} // namespace mdlHelpLocation
