#include "engine/clsOpenedFiles.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

clsOpenedFiles clsOpenedFiles::Of(const QString& sFile, const QString& sCommandFile) {
    const QFileInfo oFile(sFile);
    return {oFile.absoluteFilePath(), oFile.size(), Sha256(sFile), Sha256(sCommandFile)};
}

QString clsOpenedFiles::Sha256(const QString& sPath) {
    QFile oFile(sPath);
    QCryptographicHash oHash(QCryptographicHash::Sha256);
    if (!QFileInfo(sPath).isFile() || !oFile.open(QIODevice::ReadOnly) || !oHash.addData(&oFile)) {
        return {};
    }
    return QString::fromLatin1(oHash.result().toHex());
}
