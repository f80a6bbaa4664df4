#pragma once

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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

// The whole file; empty when it cannot be read.
inline QByteArray Read(const QString& sPath) {
    QFile oFile(sPath);
    return oFile.open(QIODevice::ReadOnly) ? oFile.readAll() : QByteArray();
}

// As sha256sum prints it.
inline QString Sha256(const QByteArray& aBytes) {
    return QString::fromLatin1(
        QCryptographicHash::hash(aBytes, QCryptographicHash::Sha256).toHex());
}

// sBody ("S", type, count, address, data) followed by its checksum.
inline QString WithCheckSum(const QString& sBody) {
    int iSum = 0;
    for (qsizetype i = 2; i + 1 < sBody.size(); i += 2) {
        iSum += sBody.mid(i, 2).toInt(nullptr, 16);
    }
    return sBody + QString::number(255 - iSum % 256, 16).toUpper().rightJustified(2, u'0');
}

} // namespace mdlTestFiles
