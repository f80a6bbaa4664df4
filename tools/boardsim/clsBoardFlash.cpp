#include "tools/boardsim/clsBoardFlash.h"

#include <QCryptographicHash>
#include <QFile>

#include <algorithm>

clsBoardFlash::clsBoardFlash(qint32 lSize, quint8 yFill) : aBytes(lSize, char(yFill)) {}

bool clsBoardFlash::Fits(qint32 lAddress, qsizetype lCount) const {
    return lAddress >= 0 && lCount <= aBytes.size() - lAddress;
}

void clsBoardFlash::Write(qint32 lAddress, std::span<const quint8> aData) {
    if (Fits(lAddress, qsizetype(aData.size()))) {
        std::copy(aData.begin(), aData.end(), aBytes.begin() + lAddress);
    }
}

QString clsBoardFlash::Sha256() const {
    return QString::fromLatin1(
        QCryptographicHash::hash(aBytes, QCryptographicHash::Sha256).toHex());
}

bool clsBoardFlash::SaveTo(const QString& sPath) const {
    QFile oFile(sPath);
    return oFile.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           oFile.write(aBytes) == aBytes.size() && oFile.flush();
}
