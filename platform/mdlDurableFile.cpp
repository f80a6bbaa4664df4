#include "platform/mdlDurableFile.h"

#include "platform/mdlDurableFile_p.h"

#include <QFileInfo>

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

QString Target(const QString& sPath) {
    const QString sCanonical = QFileInfo(sPath).canonicalFilePath();
    return sCanonical.isEmpty() ? QFileInfo(sPath).absoluteFilePath() : sCanonical;
}

eWritten Replace(const QString& sPath, const QByteArray& aText, QString& sWhy) {
    const QString sTarget = Target(sPath);
    if (const eWritten iMay = Native::MayReplace(sTarget, sWhy); iMay != eWritten::Written) {
        return iMay;
    }
    const QString sNew = sTarget + QStringLiteral(".new");
    eWritten iWritten = Native::WriteBeside(sTarget, sNew, aText, sWhy);
    if (iWritten == eWritten::Written) {
        Pass("replacing");
        iWritten = Native::PutInPlace(sNew, sTarget, sWhy);
        if (iWritten == eWritten::Written) {
            Pass("written");
            return eWritten::Written;
        }
    }
    QFile::remove(sNew);
    return iWritten;
}

bool Append(const QString& sPath, const QByteArray& aEntry, QString& sWhy) {
    QFile oFile(sPath);
    if (mdlOrdinaryFile::Open(oFile, sPath, QIODevice::WriteOnly | QIODevice::Append, sWhy) !=
        eOpened::Opened) {
        return false;
    }
    const int lHandle = oFile.handle();
    qint64 lEnd = 0;
    if (!Native::Size(lHandle, lEnd)) {
        sWhy = Native::Reason();
        return false;
    }
    char cLast = '\n';
    if (lEnd > 0 && !Native::ByteAt(lHandle, lEnd - 1, cLast)) {
        cLast = '\n';
    }
    // One write: a reader sees the entry whole or not at all.
    const QByteArray aBytes = cLast == '\n' ? aEntry : '\n' + aEntry;
    const qint64 lWritten = Native::WriteAtEnd(lHandle, aBytes);
    if (lWritten == aBytes.size() && Native::Sync(lHandle)) {
        Pass("written");
        return true;
    }
    sWhy = lWritten < 0 || lWritten == aBytes.size()
               ? Native::Reason()
               : QStringLiteral("only %1 of %2 bytes written").arg(lWritten).arg(aBytes.size());
    // The lock keeps every other writer out: what follows the old end is ours.
    if (lWritten > 0 && !Native::CutBack(lHandle, lEnd)) {
        sWhy += QStringLiteral("; the part written could not be cut back: ") + Native::Reason();
    }
    return false;
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
