#include "records/clsOpenFile.h"

#include "core/clsError.h"
#include "core/mdlOrdinaryFile.h"
#include "records/mdlFileErrors.h"

#include <QCryptographicHash>

#include <algorithm>
#include <tuple>
#include <utility>

namespace {

constexpr qint64 lReadChunk = 64 * 1024;
constexpr qint32 lLongestRecord = 32767;

QIODevice::OpenMode QtMode(clsOpenFile::eMode iMode) {
    switch (iMode) {
    case clsOpenFile::eMode::RandomRead:
    case clsOpenFile::eMode::InputRead:
        return QIODevice::ReadOnly;
    case clsOpenFile::eMode::RandomWrite:
        // Not WriteOnly: on its own that would truncate an existing file.
        return QIODevice::ReadWrite;
    case clsOpenFile::eMode::AppendWrite:
        return QIODevice::WriteOnly | QIODevice::Append;
    }
    return QIODevice::NotOpen;
}

bool IsRandom(clsOpenFile::eMode iMode) {
    return iMode == clsOpenFile::eMode::RandomRead || iMode == clsOpenFile::eMode::RandomWrite;
}

// The position of the first CR or LF in aBuffer from lFrom on, or its size.
// Two searches for one character each beat one loop over both: each runs
// vectorised.
qsizetype LineBreak(QByteArrayView aBuffer, qsizetype lFrom) {
    const qsizetype lFeed = aBuffer.indexOf('\n', lFrom);
    const qsizetype lLineEnd = lFeed >= 0 ? lFeed : aBuffer.size();
    const qsizetype lReturn = aBuffer.first(lLineEnd).indexOf('\r', lFrom);
    return lReturn >= 0 ? lReturn : lLineEnd;
}

bool IsRead(clsOpenFile::eMode iMode) {
    return iMode == clsOpenFile::eMode::RandomRead || iMode == clsOpenFile::eMode::InputRead;
}

} // namespace

clsOpenFile::clsOpenFile(const QString& sPath, eMode iNewMode, qint32 lRecordLength)
    : oFile(sPath), iMode(iNewMode) {
    if (sPath.isEmpty()) {
        throw mdlFileErrors::Make(mdlFileErrors::BadFileNameOrNumber);
    }
    if (IsRandom(iNewMode) && (lRecordLength < 1 || lRecordLength > lLongestRecord)) {
        throw mdlFileErrors::Make(mdlFileErrors::BadRecordLength);
    }
    if (IsRead(iNewMode)) {
        OpenForReading(sPath);
    } else if (!oFile.open(QtMode(iNewMode))) {
        throw mdlFileErrors::Make(mdlFileErrors::PathFileAccessError)
            .InFile(sPath, oFile.errorString());
    }
}

void clsOpenFile::OpenForReading(const QString& sPath) {
    QString sWhy;
    switch (mdlOrdinaryFile::Open(oFile, sPath, QIODevice::ReadOnly, sWhy)) {
    case mdlOrdinaryFile::eOpened::Missing:
        throw mdlFileErrors::Make(mdlFileErrors::FileNotFound).InFile(sPath, sWhy);
    case mdlOrdinaryFile::eOpened::Refused:
        throw mdlFileErrors::Make(mdlFileErrors::PathFileAccessError).InFile(sPath, sWhy);
    case mdlOrdinaryFile::eOpened::Opened:
        break;
    }
    std::tie(lOpenedSize, lOpenedWrite) = mdlOrdinaryFile::SizeAndWrite(oFile);
}

bool clsOpenFile::Unchanged() const {
    return lBytesRead == lOpenedSize &&
           mdlOrdinaryFile::SizeAndWrite(oFile) == std::pair(lOpenedSize, lOpenedWrite);
}

bool clsOpenFile::Refill() {
    aBuffer.resize(lReadChunk);
    const qint64 lRead = oFile.read(aBuffer.data(), lReadChunk);
    aBuffer.resize(std::max<qint64>(lRead, 0));
    lBufferPos = 0;
    if (lRead < 0) {
        throw mdlFileErrors::Make(mdlFileErrors::DeviceIOError)
            .InFile(oFile.fileName(), oFile.errorString());
    }
    lBytesRead += lRead;
    if (lRead == 0 && !Unchanged()) {
        throw mdlFileErrors::Make(mdlFileErrors::DeviceIOError)
            .InFile(oFile.fileName(), QStringLiteral("the file changed while it was read"));
    }
    return lRead > 0;
}

bool clsOpenFile::AtEnd() {
    if (iMode != eMode::InputRead) {
        return oFile.atEnd();
    }
    return lBufferPos >= aBuffer.size() && !Refill();
}

QString clsOpenFile::ReadLine() {
    if (iMode != eMode::InputRead) {
        throw mdlFileErrors::Make(mdlFileErrors::BadFileMode);
    }
    if (AtEnd()) {
        throw mdlFileErrors::Make(mdlFileErrors::InputPastEndOfFile);
    }
    QByteArray aPartial; // only used when a line spans buffer refills
    for (;;) {
        const qsizetype lBreak = LineBreak(aBuffer, lBufferPos);
        const QByteArrayView aPiece =
            QByteArrayView(aBuffer).sliced(lBufferPos, lBreak - lBufferPos);
        if (aPartial.size() + aPiece.size() > lLongestLine) {
            throw mdlFileErrors::Make(mdlFileErrors::LineTooLong).InFile(oFile.fileName());
        }
        if (lBreak == aBuffer.size()) {
            aPartial.append(aPiece);
            if (Refill()) {
                continue;
            }
            return LineText(aPartial);
        }
        const QString sLine = LineText(aPartial.isEmpty() ? aPiece : aPartial.append(aPiece));
        lBufferPos = lBreak + 1;
        const bool bCarriageReturn = aBuffer.at(lBreak) == '\r';
        if (bCarriageReturn && (lBufferPos < aBuffer.size() || Refill()) &&
            aBuffer.at(lBufferPos) == '\n') {
            ++lBufferPos;
        }
        return sLine;
    }
}

QString clsOpenFile::LineText(QByteArrayView aLine) {
    // Converted into a buffer kept from line to line: a caller that lets go
    // of the previous line before asking for the next costs no allocation.
    sLineBuffer.resize(0);
    sLineBuffer.append(QLatin1StringView(aLine));
    return sLineBuffer;
}

QByteArray clsOpenFile::ReadSha256() {
    // Read again rather than hashed as it was read, so that preparing alone
    // costs nothing more; unchanged before and after, the bytes are the
    // ones the lines came from.
    QCryptographicHash oHash(QCryptographicHash::Sha256);
    if (!Unchanged() || !oFile.seek(0) || !oHash.addData(&oFile) || !Unchanged()) {
        return {};
    }
    return oHash.result();
}

bool clsOpenFile::Close() {
    const bool bFlushed = !oFile.isWritable() || oFile.flush();
    oFile.close();
    return bFlushed;
}
