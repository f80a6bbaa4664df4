#include "records/clsFlashImage.h"

#include "records/clsBoardTarget.h"

#include <algorithm>
#include <exception>
#include <numeric>

namespace {

using eCode = clsFlashImage::eCode;

// Header, record count and start-address records carry no image bytes; a
// count line written as type 6 by common tools would otherwise land its
// count bytes in the image as data.
bool PlacesData(qint16 iRecType) {
    return iRecType >= 1 && iRecType <= 3;
}

clsError ImageError(qint32 lCode, const char* sMember, const char* sDescription) {
    return clsError::FromCode(lCode, QStringLiteral("clsFlashImage.") + QLatin1String(sMember),
                              QLatin1String(sDescription));
}

clsError PastTheTop() {
    return ImageError(eCode::EndOfImage, "Export",
                      "Byte pointer passed top of image without building a valid 'S' record.");
}

// Calls oVisit(first, end) for each run of flags that are bValue.
template <typename Visitor>
void ForEachRun(const clsFlagArray& aFlags, bool bValue, Visitor oVisit) {
    const qint32 lCount = aFlags.Count();
    for (qint32 lFirst = aFlags.Find(bValue, 0, lCount); lFirst < lCount;) {
        const qint32 lEnd = aFlags.Find(!bValue, lFirst, lCount);
        oVisit(lFirst, lEnd);
        lFirst = aFlags.Find(bValue, lEnd, lCount);
    }
}

// The runs of raised flags, each as its first and last index.
QList<QPair<qint32, qint32>> RaisedRuns(const clsFlagArray& aFlags) {
    QList<QPair<qint32, qint32>> aRuns;
    ForEachRun(aFlags, true, [&](qint32 lFirst, qint32 lEnd) { aRuns.append({lFirst, lEnd - 1}); });
    return aRuns;
}

// Raises the flags of aRuns; false for a run that is not within 0 to lTop.
template <typename Flags>
bool RaiseRuns(Flags& aFlags, const QList<QPair<qint32, qint32>>& aRuns, qint32 lTop) {
    for (const auto& [lFirst, lLast] : aRuns) {
        if (lFirst < 0 || lLast < lFirst || lLast > lTop) {
            return false;
        }
        aFlags.SetRange(lFirst, lLast + 1, true);
    }
    return true;
}

} // namespace

void clsFlashImage::RequireCells(const char* sMember) const {
    if (aValues.empty()) {
        throw ImageError(eCode::NotCreated, sMember, "The flash image has not been created.");
    }
}

quint8 clsFlashImage::Data(qint32 lAddress) const {
    RequireCells("Data");
    if (lAddress < 0 || lAddress > lTop) {
        throw ImageError(eCode::InvalidAddress, "Data",
                         "INVALID ADDRESS: Invalid memory address passed");
    }
    return aValues[lAddress];
}

bool clsFlashImage::Written(qint32 lAddress) const {
    Data(lAddress); // raises what an address outside the image raises
    return aWritten.Test(lAddress);
}

void clsFlashImage::SetData(qint32 lAddress, quint8 yNewData) {
    WriteCell(lAddress, yNewData);
}

void clsFlashImage::WriteCell(qint64 lAddress, quint8 yNewData) {
    RequireCells("Data");
    if (lAddress < 0 || lAddress > lTop) {
        throw ImageError(eCode::InvalidAddress, "Data", "Invalid memory address passed");
    }
    const auto lCell = qint32(lAddress);
    if (Restricted().Test(lCell)) {
        throw ImageError(eCode::RestrictedByte, "Data", "Address is a restricted byte.");
    }
    if (aWritten.Test(lCell)) {
        throw ImageError(eCode::AlreadyWritten, "Data", "Address has already been written to.");
    }
    aValues[lCell] = yNewData;
    aWritten.SetRange(lCell, lCell + 1, true);
}

qint32 clsFlashImage::Create(quint8 yNewTargetID) {
    try {
        const qint32 lNewTop = clsBoardTarget::For(yNewTargetID).lTop;
        std::vector<quint8> aNewValues(lNewTop + 1);
        clsFlagArray aNewWritten(lNewTop + 1);
        clsRangeFlags aNewRestricted(lNewTop + 1);
        aValues = std::move(aNewValues);
        aWritten = std::move(aNewWritten);
        aRestricted = std::move(aNewRestricted);
        lTop = lNewTop;
        yTargetID = yNewTargetID;
        return lTop;
    } catch (const std::exception&) {
        return 0;
    }
}

void clsFlashImage::Clear(quint8 yInitialValue) {
    RequireCells("Clear");
    ForEachRun(Restricted(), false, [&](qint32 lFirst, qint32 lEnd) {
        std::fill(aValues.begin() + lFirst, aValues.begin() + lEnd, yInitialValue);
    });
    aWritten.KeepWhere(Restricted());
}

void clsFlashImage::Restrict(qint32 lStartAddress, qint32 lEndAddress) {
    SetRestricted("Restrict", lStartAddress, lEndAddress, true);
}

void clsFlashImage::UnRestrict(qint32 lStartAddress, qint32 lEndAddress) {
    SetRestricted("UnRestrict", lStartAddress, lEndAddress == 0 ? lTop : lEndAddress, false);
}

void clsFlashImage::SetRestricted(const char* sMember, qint32 lStart, qint32 lEnd, bool bValue) {
    RequireCells(sMember);
    if (lStart < 0 || lEnd > lTop || lEnd < lStart) {
        throw ImageError(eCode::InvalidAddress, sMember, "Invalid memory address passed");
    }
    aRestricted.SetRange(lStart, lEnd + 1, bValue);
}

qint16 clsFlashImage::Import(const clsJRT_SRecord& oRecord) {
    RequireCells("Import");
    const qint32 lStart = oRecord.Address();
    // Checked before the data is counted, because counting formats the
    // record, and a header without data, valid as it is, cannot be formatted.
    if (!PlacesData(oRecord.RecType())) {
        return 0;
    }
    const qint16 iCount = oRecord.DataByteCount();
    const auto aLeading = oRecord.LeadingData();
    const qint32 lPlaced =
        PlaceCleanRun(lStart, aLeading.first(std::min<size_t>(iCount, aLeading.size())));
    // Byte by byte from the first one the run stopped at: it raises what
    // that byte raises, after the bytes before it were placed.
    for (auto i = qint16(lPlaced); i < iCount; ++i) {
        WriteCell(qint64(lStart) + i, oRecord.Data(i));
    }
    return iCount;
}

qint32 clsFlashImage::PlaceCleanRun(qint32 lStart, std::span<const quint8> aBytes) {
    if (lStart > lTop) {
        return 0;
    }
    qint32 lEnd = qint32(std::min<qint64>(qint64(lStart) + qint64(aBytes.size()), lTop + 1));
    lEnd = std::min(Restricted().Find(true, lStart, lEnd), aWritten.Find(true, lStart, lEnd));
    std::copy_n(aBytes.begin(), lEnd - lStart, aValues.begin() + lStart);
    aWritten.SetRange(lStart, lEnd, true);
    return lEnd - lStart;
}

qint32 clsFlashImage::CheckSum() const {
    RequireCells("CheckSum");
    quint32 lSum = 0;
    ForEachRun(Restricted(), false, [&](qint32 lFirst, qint32 lEnd) {
        lSum = std::accumulate(aValues.begin() + lFirst, aValues.begin() + lEnd, lSum);
    });
    return 255 - qint32(lSum % 256);
}

QList<QPair<qint32, qint32>> clsFlashImage::RestrictedRanges() const {
    RequireCells("RestrictedRanges");
    return RaisedRuns(Restricted());
}

qint32 clsFlashImage::UnrestrictedBytes() const {
    RequireCells("UnrestrictedBytes");
    return Restricted().Count() - Restricted().CountRaised();
}

bool clsFlashImage::IncrementBP() {
    if (lBytePointer >= lTop) {
        bEndOfImage = true;
        return false;
    }
    ++lBytePointer;
    return true;
}

bool clsFlashImage::DecrementBP() {
    if (lBytePointer <= 0) {
        bEndOfImage = true;
        return false;
    }
    --lBytePointer;
    return true;
}

void clsFlashImage::SetWalkPosition(const clsWalkPosition& oPosition) {
    lBytePointer = oPosition.lBytePointer;
    bEndOfImage = oPosition.bEndOfImage;
}

void clsFlashImage::ResetBP() {
    lBytePointer = 0;
    bEndOfImage = false;
}

clsJRT_SRecord clsFlashImage::Export() {
    RequireCells("Export");
    SkipRestricted();
    const clsBoardTarget& oTarget = clsBoardTarget::For(yTargetID);
    clsJRT_SRecord oRecord;
    oRecord.SetRecType(oTarget.iRecType);
    oRecord.SetAddress(lBytePointer);
    const qint32 lStart = lBytePointer;
    const qint32 lEnd =
        Restricted().Find(true, lStart + 1, std::min(lStart + oTarget.iMaxData, lTop + 1));
    oRecord.SetData(std::span(aValues).subspan(lStart, lEnd - lStart));
    // Where one IncrementBP per byte leaves the pointer: after the run, or
    // on the top with the end flag raised.
    if (lEnd > lTop) {
        lBytePointer = lTop;
        bEndOfImage = true;
    } else {
        lBytePointer = lEnd;
    }
    oRecord.SetByteCount(qint16(oTarget.ByteCountOverhead() + lEnd - lStart));
    return oRecord;
}

void clsFlashImage::SkipRestricted() {
    if (lBytePointer > lTop || bEndOfImage) {
        throw PastTheTop();
    }
    const qint32 lFree = Restricted().Find(false, lBytePointer, lTop + 1);
    if (lFree > lTop) {
        lBytePointer = lTop;
        bEndOfImage = true;
        throw PastTheTop();
    }
    lBytePointer = lFree;
}

void clsFlashImage::Write(QDataStream& oStream) const {
    RequireCells("Write");
    oStream << yTargetID
            << QByteArray::fromRawData(reinterpret_cast<const char*>(aValues.data()),
                                       qsizetype(aValues.size()))
            << RaisedRuns(Restricted()) << RaisedRuns(aWritten);
}

bool clsFlashImage::Read(QDataStream& oStream) {
    quint8 yReadTargetID = 0;
    QByteArray aReadValues;
    QList<QPair<qint32, qint32>> aRestrictedRuns;
    QList<QPair<qint32, qint32>> aWrittenRuns;
    oStream >> yReadTargetID >> aReadValues >> aRestrictedRuns >> aWrittenRuns;
    clsFlashImage oRead;
    const qint32 lReadTop = oRead.Create(yReadTargetID);
    if (oStream.status() != QDataStream::Ok || lReadTop == 0 ||
        aReadValues.size() != lReadTop + 1 ||
        !RaiseRuns(oRead.aRestricted, aRestrictedRuns, lReadTop) ||
        !RaiseRuns(oRead.aWritten, aWrittenRuns, lReadTop)) {
        return false;
    }
    std::copy(aReadValues.begin(), aReadValues.end(), oRead.aValues.begin());
    *this = std::move(oRead);
    return true;
}
