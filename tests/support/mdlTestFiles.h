#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

namespace mdlTestFiles {

// Writes aContent to sName inside oDir and returns the file's path.
inline QString Write(const QDir& oDir, const QString& sName, const QByteArray& aContent) {
    const QString sPath = oDir.filePath(sName);
    QDir().mkpath(QFileInfo(sPath).path());
    QFile oFile(sPath);
    if (!oFile.open(QIODevice::WriteOnly) || oFile.write(aContent) != aContent.size()) {
        qFatal("cannot write test file %s", qPrintable(sPath));
    }
    return sPath;
}

inline QByteArray Read(const QString& sPath) {
    QFile oFile(sPath);
    return oFile.open(QIODevice::ReadOnly) ? oFile.readAll() : QByteArray();
}

} // namespace mdlTestFiles
