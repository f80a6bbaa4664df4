#include "core/mdlWindowsPath.h"

#include <QDir>
#include <QFileInfo>

namespace mdlWindowsPath {

std::wstring Native(const QString& sPath) {
    const QString sGiven = QDir::toNativeSeparators(sPath);
    if (sGiven.startsWith(QLatin1String("\\\\?\\")) ||
        sGiven.startsWith(QLatin1String("\\\\.\\"))) {
        return sGiven.toStdWString();
    }
    // The prefix turns off the system's reading of "." and "..".
    const QString sAbsolute =
        QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(sPath).absoluteFilePath()));
    return (sAbsolute.startsWith(QLatin1String("\\\\"))
                ? QStringLiteral("\\\\?\\UNC\\") + sAbsolute.mid(2)
                : QStringLiteral("\\\\?\\") + sAbsolute)
        .toStdWString();
}

} // namespace mdlWindowsPath
