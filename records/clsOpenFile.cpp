#include "clsOpenFile.h"

#include "clsError.h"
#include "clsFileTable.h"

#include <QFileInfo>

#include <cstring>

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

// The first CR or LF in [pBegin, pEnd), or pEnd. Two memchr passes beat
// one loop over both characters: each pass runs vectorised.
const char* LineBreak(const char* pBegin, const char* pEnd) {
    const auto* pFeed = static_cast<const char*>(std::memchr(pBegin, '\n', pEnd - pBegin));
    const char* pLineEnd = pFeed != nullptr ? pFeed : pEnd;
    const auto* pReturn = static_cast<const char*>(std::memchr(pBegin, '\r', pLineEnd - pBegin));
    return pReturn != nullptr ? pReturn : pLineEnd;
}

bool IsRead(clsOpenFile::eMode iMode) {
    return iMode == clsOpenFile::eMode::RandomRead || iMode == clsOpenFile::eMode::InputRead;
}

} // namespace

clsOpenFile::clsOpenFile(const QString& sPath, eMode iNewMode, qint32 lRecordLength)
    : oFile(sPath), iMode(iNewMode) {
    using E = clsFileTable::eFileError;
    if (sPath.isEmpty()) {
        throw clsFileTable::Error(E::BadFileNameOrNumber);
    }
    if (IsRandom(iNewMode) && (lRecordLength < 1 || lRecordLength > lLongestRecord)) {
        throw clsFileTable::Error(E::BadRecordLength);
    }
    if (IsRead(iNewMode) && !QFileInfo::exists(sPath)) {
        throw clsFileTable::Error(E::FileNotFound);
    }
    if (!oFile.open(QtMode(iNewMode))) {
        throw clsFileTable::Error(E::PathFileAccessError);
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
        throw clsFileTable::Error(clsFileTable::eFileError::BadFileMode);
    }
    if (AtEnd()) {
        throw clsFileTable::Error(clsFileTable::eFileError::InputPastEndOfFile);
    }
    QByteArray aPartial; // only used when a line spans buffer refills
    for (;;) {
        const char* pBegin = aBuffer.constData() + lBufferPos;
        const char* pEnd = aBuffer.constData() + aBuffer.size();
        const char* pBreak = LineBreak(pBegin, pEnd);
        const qsizetype lLength = pBreak - pBegin;
        if (pBreak == pEnd) {
            aPartial.append(pBegin, lLength);
            if (Refill()) {
                continue;
            }
            return QString::fromLatin1(aPartial);
        }
        QString sLine = aPartial.isEmpty() ? QString::fromLatin1(pBegin, lLength)
                                           : QString::fromLatin1(aPartial.append(pBegin, lLength));
        lBufferPos += lLength + 1;
        const bool bCarriageReturn = *pBreak == '\r';
        if (bCarriageReturn && (lBufferPos < aBuffer.size() || Refill()) &&
            aBuffer.at(lBufferPos) == '\n') {
            ++lBufferPos;
        }
        return sLine;
    }
}

bool clsOpenFile::Close() {
    const bool bFlushed = !oFile.isWritable() || oFile.flush();
    oFile.close();
    return bFlushed;
}
