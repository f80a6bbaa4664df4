#include "core/mdlOrdinaryFile.h"

#include <QFileInfo>

namespace mdlOrdinaryFile {

eOpened Open(QFile& oFile, const QString& sPath, QIODevice::OpenMode iMode, QString& sWhy) {
    const QFileInfo oInfo(sPath);
    if (!oInfo.exists() && !iMode.testFlag(QIODevice::Append)) {
        return eOpened::Missing;
    }
    if (const QString sOther = NotOrdinary(sPath); !sOther.isEmpty()) {
        sWhy = sOther;
        return eOpened::Refused;
    }
    oFile.setFileName(sPath);
    if (!oFile.open(iMode)) {
        sWhy = oFile.errorString();
        return eOpened::Refused;
    }
    return eOpened::Opened;
}

QString NotOrdinary(const QString& sPath) {
    const QFileInfo oInfo(sPath);
    if (!oInfo.exists() || oInfo.isFile()) {
        return {};
    }
    return QStringLiteral("not an ordinary file but ") +
           (oInfo.isDir() ? QStringLiteral("a folder") : QStringLiteral("a device"));
}

} // namespace mdlOrdinaryFile
