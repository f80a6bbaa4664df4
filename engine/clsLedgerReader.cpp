#include "engine/clsLedgerReader.h"

#include <QByteArrayView>
#include <QJsonDocument>

#include <algorithm>
#include <limits>
#include <optional>

namespace {

// Read in blocks of this size, forwards and backwards.
constexpr qint64 lBlock = 64 * 1024;

std::optional<QJsonObject> Fields(const QByteArray& aLine) {
    const QJsonDocument oLine = QJsonDocument::fromJson(aLine);
    return oLine.isObject() ? std::optional(oLine.object()) : std::nullopt;
}

} // namespace

mdlOrdinaryFile::eOpened clsLedgerReader::Open(const QString& sPath, QString& sWhy) {
    return mdlOrdinaryFile::Open(oFile, sPath, QIODevice::ReadOnly, sWhy);
}

bool clsLedgerReader::StartAtLast(qint64 lCount) {
    lTo = oFile.size();
    qint64 lLineEnd = lTo;
    qint64 lFound = 0;
    QByteArray aBlock(lBlock, Qt::Uninitialized);
    for (qint64 lAt = lTo; lAt > 0;) {
        const qint64 lStart = std::max<qint64>(0, lAt - lBlock);
        if (!ReadAt(lStart, aBlock.data(), lAt - lStart)) {
            return false;
        }
        for (qint64 i = lAt - lStart - 1; i >= 0; --i) {
            if (aBlock.at(i) != '\n') {
                continue;
            }
            if (IsEntry(lStart + i + 1, lLineEnd) && ++lFound == lCount) {
                lFrom = lStart + i + 1;
                return true;
            }
            lLineEnd = lStart + i;
        }
        lAt = lStart;
    }
    lFrom = 0;
    return true;
}

bool clsLedgerReader::Read(const EntryTaker& oEntry, const DamageTaker& oDamaged) {
    if (!oFile.seek(lFrom)) {
        return false;
    }
    const qint64 lEnd = lTo < 0 ? std::numeric_limits<qint64>::max() : lTo;
    QByteArray aBlock(lBlock, Qt::Uninitialized);
    QByteArray aLine;
    bool bLong = false;
    qint64 lLine = 0;
    qint64 lAt = lFrom;
    while (lAt < lEnd) {
        const qint64 lRead = oFile.read(aBlock.data(), std::min(lBlock, lEnd - lAt));
        if (lRead < 0) {
            return false;
        }
        if (lRead == 0) {
            break;
        }
        lAt += lRead;
        QByteArrayView aRest(aBlock.constData(), lRead);
        while (!aRest.isEmpty()) {
            const qsizetype lEndOfLine = aRest.indexOf('\n');
            const QByteArrayView aPiece = lEndOfLine < 0 ? aRest : aRest.first(lEndOfLine);
            // A line too long for an entry is not kept while its end is looked for.
            bLong = bLong || aLine.size() + aPiece.size() > lLongestLine;
            if (bLong) {
                aLine.clear();
            } else {
                aLine.append(aPiece);
            }
            if (lEndOfLine < 0) {
                break;
            }
            Take(aLine, bLong, ++lLine, oEntry, oDamaged);
            aLine.clear();
            bLong = false;
            aRest = aRest.sliced(lEndOfLine + 1);
        }
    }
    // A second Read stops where this one did, at a line a writer was adding.
    lTo = lAt;
    Take(aLine, bLong, ++lLine, oEntry, oDamaged);
    return true;
}

bool clsLedgerReader::IsEntry(qint64 lStart, qint64 lEnd) {
    const qint64 lLength = lEnd - lStart;
    if (lLength == 0 || lLength > lLongestLine) {
        return false;
    }
    QByteArray aLine(lLength, Qt::Uninitialized);
    return ReadAt(lStart, aLine.data(), lLength) && Fields(aLine);
}

void clsLedgerReader::Take(const QByteArray& aLine, bool bLong, qint64 lLine,
                           const EntryTaker& oEntry, const DamageTaker& oDamaged) {
    if (aLine.isEmpty() && !bLong) {
        return;
    }
    if (const std::optional<QJsonObject> oFields = bLong ? std::nullopt : Fields(aLine)) {
        oEntry({aLine, *oFields});
    } else if (oDamaged) {
        oDamaged(LinesBefore() + lLine);
    }
}

qint64 clsLedgerReader::LinesBefore() {
    if (lLinesBefore < 0) {
        const qint64 lResume = oFile.pos();
        lLinesBefore = 0;
        QByteArray aBlock(lBlock, Qt::Uninitialized);
        for (qint64 lAt = 0; lAt < lFrom; lAt += lBlock) {
            const qint64 lBytes = std::min(lBlock, lFrom - lAt);
            if (!ReadAt(lAt, aBlock.data(), lBytes)) {
                break;
            }
            lLinesBefore += std::count(aBlock.constData(), aBlock.constData() + lBytes, '\n');
        }
        oFile.seek(lResume);
    }
    return lLinesBefore;
}

bool clsLedgerReader::ReadAt(qint64 lAt, char* pInto, qint64 lBytes) {
    return oFile.seek(lAt) && oFile.read(pInto, lBytes) == lBytes;
}
