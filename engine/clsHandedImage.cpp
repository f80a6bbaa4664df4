#include "engine/clsHandedImage.h"

#include "platform/mdlDurableFile.h"
#include "records/clsBoardTarget.h"

#include <QDataStream>

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

// Far more than the two paths, the hashes and the mark take: the system
// opens no path longer than a few kilobytes.
constexpr qint64 lTextRoom = 1024 * 1024;

// The largest handed image: the largest image of any target, each of its
// two flags raised in runs of at most every other cell, a pair of 32-bit
// addresses a run, and every sector AreSectors lets through.
qint64 LargestBytes() {
    qint64 lCells = 0;
    for (int iTargetID = 0; iTargetID <= 255; ++iTargetID) {
        lCells = std::max(lCells, qint64(clsBoardTarget::For(quint8(iTargetID)).lTop) + 1);
    }
    const qint64 lRuns = 2 * ((lCells + 1) / 2);
    return lCells + lRuns * 2 * qint64(sizeof(qint32)) +
           std::numeric_limits<qint16>::max() * qint64(sizeof(qint16)) + lTextRoom;
}

// Nothing unless aBytes are an image as Bytes wrote it, whole.
std::optional<clsHandedImage> FromBytes(const QByteArray& aBytes) {
    QDataStream oStream(aBytes);
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

std::optional<clsHandedImage> clsHandedImage::Load(const QString& sPath, QString& sWhy) {
    QByteArray aBytes;
    if (mdlDurableFile::ReadWhole(sPath, LargestBytes(), aBytes, sWhy) !=
        mdlDurableFile::eOpened::Opened) {
        return std::nullopt;
    }
    std::optional<clsHandedImage> oHanded = FromBytes(aBytes);
    if (!oHanded) {
        sWhy = QStringLiteral("not an image handed over whole");
    }
    return oHanded;
}
