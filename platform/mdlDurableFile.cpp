#include "platform/mdlDurableFile.h"

#include <algorithm>

namespace {

constexpr qint64 lReadPiece = 64 * 1024;

mdlDurableFile::PointHook pPointHook = nullptr;

} // namespace

namespace mdlDurableFile {

eOpened ReadWhole(const QString& sPath, qint64 lLargest, QByteArray& aText, QString& sWhy) {
    QFile oFile(sPath);
    const eOpened iOpened = mdlOrdinaryFile::Open(oFile, sPath, QIODevice::ReadOnly, sWhy);
    if (iOpened != eOpened::Opened) {
        return iOpened;
    }
    // In pieces, so that a file that grows while it is read is read up to
    // the limit alone.
    aText.clear();
    for (QByteArray aPiece; aText.size() <= lLargest; aText += aPiece) {
        aPiece = oFile.read(std::min(lReadPiece, lLargest + 1 - aText.size()));
        if (aPiece.isEmpty()) {
            break;
        }
    }
    if (oFile.error() != QFileDevice::NoError) {
        sWhy = oFile.errorString();
        return eOpened::Refused;
    }
    if (aText.size() > lLargest) {
        sWhy = QStringLiteral("larger than %L1 bytes").arg(lLargest);
        return eOpened::Refused;
    }
    return eOpened::Opened;
}

void SetPointHook(PointHook pHook) {
    pPointHook = pHook;
}

void Pass(const char* sPoint) {
    if (pPointHook != nullptr) {
        pPointHook(sPoint);
    }
}

} // namespace mdlDurableFile
