#include "core/mdlOrdinaryFile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

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
    const QFileInfo oInfo(sPath);
    if (!oInfo.exists() || oInfo.isFile()) {
        return {};
    }
    return QStringLiteral("not an ordinary file but ") +
           (oInfo.isDir() ? QStringLiteral("a folder") : QStringLiteral("a device"));
}

} // namespace mdlOrdinaryFile
