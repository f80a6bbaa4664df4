#include "records/clsOpenFile.h"

#include "core/clsError.h"
#include "records/clsFileTable.h"

#include <QFileInfo>

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
        throw clsFileTable::Error(clsFileTable::BadFileNameOrNumber);
    }
    if (IsRandom(iNewMode) && (lRecordLength < 1 || lRecordLength > lLongestRecord)) {
        throw clsFileTable::Error(clsFileTable::BadRecordLength);
    }
    if (IsRead(iNewMode) && !QFileInfo::exists(sPath)) {
        throw clsFileTable::Error(clsFileTable::FileNotFound);
    }
    if (!oFile.open(QtMode(iNewMode))) {
        throw clsFileTable::Error(clsFileTable::PathFileAccessError);
    }
}

bool clsOpenFile::Refill() {
    aBuffer = oFile.read(lReadChunk);
    lBufferPos = 0;
    return !aBuffer.isEmpty();
}

bool clsOpenFile::AtEnd() {
    if (iMode != eMode::InputRead) {
        return oFile.atEnd();
    }
    return lBufferPos >= aBuffer.size() && !Refill();
}

QString clsOpenFile::ReadLine() {
    if (iMode != eMode::InputRead) {
        throw clsFileTable::Error(clsFileTable::BadFileMode);
    }
    if (AtEnd()) {
        throw clsFileTable::Error(clsFileTable::InputPastEndOfFile);
    }
    QByteArray aPartial; // only used when a line spans buffer refills
    for (;;) {
        const qsizetype lBreak = LineBreak(aBuffer, lBufferPos);
        const QByteArrayView aPiece =
            QByteArrayView(aBuffer).sliced(lBufferPos, lBreak - lBufferPos);
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

bool clsOpenFile::Close() {
    const bool bFlushed = !oFile.isWritable() || oFile.flush();
    oFile.close();
    return bFlushed;
}
