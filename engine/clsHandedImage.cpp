#include "engine/clsHandedImage.h"

#include <QDataStream>
#include <QFile>

#include <algorithm>
#include <limits>

namespace {

// Tells a handed image from any other file, and this layout from another.
const QByteArray aMark = QByteArrayLiteral("Tessivar handed image 1");
constexpr QDataStream::Version iStreamVersion = QDataStream::Qt_6_4;

// As preparation lets them through: the erase command names a sector in a
// byte.
bool AreSectors(const QList<qint16>& aiSectors) {
    return aiSectors.size() <= std::numeric_limits<qint16>::max() &&
           std::all_of(aiSectors.begin(), aiSectors.end(),
                       [](qint16 iSector) { return iSector >= 0 && iSector <= 255; });
}

} // namespace

QByteArray clsHandedImage::Bytes() const {
    QByteArray aBytes;
    QDataStream oStream(&aBytes, QIODevice::WriteOnly);
    oStream.setVersion(iStreamVersion);
    oStream << aMark << oPrepared.sRecFile << oPrepared.yTargetID << oPrepared.yFillValue
            << oPrepared.aiSectors;
    oPrepared.oImage.Write(oStream);
    oStream << oFiles.sFile << oFiles.lFileSize << oFiles.sFileSha256 << oFiles.sCommandFileSha256;
    return aBytes;
}

std::optional<clsHandedImage> clsHandedImage::Load(const QString& sPath) {
    QFile oFile(sPath);
    if (!oFile.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    QDataStream oStream(&oFile);
    oStream.setVersion(iStreamVersion);
    QByteArray aReadMark;
    clsHandedImage oHanded;
    clsPreparedUpload& oPrepared = oHanded.oPrepared;
    oStream >> aReadMark >> oPrepared.sRecFile >> oPrepared.yTargetID >> oPrepared.yFillValue >>
        oPrepared.aiSectors;
    if (aReadMark != aMark || !AreSectors(oPrepared.aiSectors) || !oPrepared.oImage.Read(oStream)) {
        return std::nullopt;
    }
    clsOpenedFiles& oFiles = oHanded.oFiles;
    oStream >> oFiles.sFile >> oFiles.lFileSize >> oFiles.sFileSha256 >> oFiles.sCommandFileSha256;
    if (oStream.status() != QDataStream::Ok || !oStream.atEnd()) {
        return std::nullopt;
    }
    return oHanded;
}
