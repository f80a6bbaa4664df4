#include "records/clsJRT_SRecord.h"

#include "records/mdlHex.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace {

using eCode = clsJRT_SRecord::eCode;

// Address field width in hex digits by record type; type 5 holds its number
// of records there. Type 4 never gets this far: the type check refuses it.
constexpr std::array<qsizetype, 10> aAddressDigits{4, 4, 6, 8, 0, 4, 4, 8, 6, 4};

// Byte pairs a parse keeps decoded: the count, up to 4 address bytes and one
// data byte more than a record holds, so that an over-long line fails as
// that byte is stored.
constexpr qsizetype lPairsKept = 1 + 4 + clsJRT_SRecord::iDataSlots + 1;

bool CarriesData(qint16 iType) {
    return iType <= 3 || iType == 6;
}

bool HasHexCount(qint16 iType) {
    return iType <= 3;
}

clsError CodecError(qint32 lCode, const char* sMember, const char* sDescription) {
    return clsError::FromCode(lCode, QStringLiteral("clsJRT_SRecord.") + QLatin1String(sMember),
                              QLatin1String(sDescription));
}

// Formatting raises these with their number alone; the wording is the
// generic one for any application-defined error.
clsError NumberAlone(qint32 lCode) {
    return clsError::FromCode(lCode, QString(), QStringLiteral("Application-defined error."));
}

clsError NotANumber(const char* sMember) {
    return CodecError(eCode::FieldNotANumber, sMember, "Record field cannot be read as a number.");
}

clsError ByteCountMissing() {
    return CodecError(eCode::ByteCountNotSet, "ByteCount", "Byte count not set.");
}

int DecimalValue(QChar sDigit, const char* sMember) {
    if (sDigit < u'0' || sDigit > u'9') {
        throw NotANumber(sMember);
    }
    return sDigit.unicode() - u'0';
}

// Decodes the byte pairs of sPairs into aBytes, one byte each, and returns
// the low byte of their sum, all a checksum needs.
quint8 DecodePairs(QStringView sPairs, std::span<quint8> aBytes, const char* sMember) {
    const auto ySum = mdlHex::DecodePairs(sPairs, aBytes);
    if (!ySum) {
        throw NotANumber(sMember);
    }
    return *ySum;
}

quint8 HexPair(QStringView sPair, const char* sMember) {
    quint8 yByte = 0;
    DecodePairs(sPair, std::span(&yByte, 1), sMember);
    return yByte;
}

// Sums the byte pairs of sText that come before its last pair (an odd length
// leaves its last three characters out), keeps the first of them decoded in
// aKept and returns the ones' complement of the sum's low byte.
qint32 CheckSumOfPairs(QStringView sText, std::span<quint8> aKept, const char* sMember) {
    const qsizetype lPairs = std::max<qsizetype>(0, (sText.size() - 2) / 2);
    std::array<quint8, 256> aScratch;
    quint8 ySum = 0;
    for (qsizetype lDone = 0; lDone < lPairs;) {
        const std::span<quint8> aInto = lDone < qsizetype(aKept.size()) ? aKept : aScratch;
        const qsizetype lChunk = std::min<qsizetype>(lPairs - lDone, aInto.size());
        ySum += DecodePairs(sText.sliced(2 * lDone), aInto.first(lChunk), sMember);
        lDone += lChunk;
    }
    return 255 - ySum;
}

// Data bytes in a line of lLength characters, from its length alone; an odd
// remainder rounds half to even.
qint64 DataBytesInLine(qint16 iType, qint64 lLength) {
    if (!CarriesData(iType)) {
        return 0;
    }
    const qint64 lRemainder = lLength - (6 + aAddressDigits[iType]);
    const qint64 lHalf = lRemainder >> 1;
    return (lRemainder & 1) && (lHalf & 1) ? lHalf + 1 : lHalf;
}

quint32 BigEndian(std::span<const quint8> aBytes) {
    quint32 lValue = 0;
    for (quint8 yByte : aBytes) {
        lValue = lValue << 8 | yByte;
    }
    return lValue;
}

qsizetype HexDigits(quint32 lValue) {
    return std::max<qsizetype>(1, (std::bit_width(lValue) + 3) / 4);
}

// Upper-case hex, zero-filled to iWidth digits and never cut to it.
void AppendHex(QString& sLine, quint32 lValue, qsizetype iWidth) {
    static constexpr char16_t aDigits[] = u"0123456789ABCDEF";
    for (qsizetype i = std::max(iWidth, HexDigits(lValue)) - 1; i >= 0; --i) {
        sLine += QChar(aDigits[(lValue >> (4 * i)) & 0xF]);
    }
}

// After the type digit a line holds whole byte pairs; a field must end
// before the checksum pair.
void RequirePairs(QStringView sLine, qsizetype lPairs) {
    if (sLine.size() / 2 - 2 < lPairs) {
        throw NotANumber("Record");
    }
}

std::bitset<clsJRT_SRecord::iDataSlots> LowSlots(qsizetype lCount) {
    return ~std::bitset<clsJRT_SRecord::iDataSlots>() >> (clsJRT_SRecord::iDataSlots - lCount);
}

} // namespace

QString clsJRT_SRecord::Record() const {
    CheckFormattable();
    QString sLine;
    sLine.reserve(16 + 2 * iDataSlots);
    sLine += u'S';
    sLine += QChar(u'0' + iRecType);
    if (HasHexCount(iRecType)) {
        AppendHex(sLine, quint32(iByteCount), 2);
    } else {
        sLine += QString::number(iByteCount).rightJustified(2, u'0');
    }
    AppendHex(sLine, quint32(iRecType == 5 ? lNumRecs : lAddress), aAddressDigits[iRecType]);
    if (CarriesData(iRecType)) {
        for (qint16 i = 0; i < iDataCount; ++i) {
            AppendHex(sLine, aData[i], 2);
        }
    }
    // The placeholder stands where the checksum goes; the sum leaves it out.
    sLine += u"XX";
    const qint32 lSum = CheckSumOfPairs(QStringView(sLine).sliced(2), {}, "Record");
    sLine.chop(2);
    AppendHex(sLine, quint32(lSum), 2);
    return sLine;
}

void clsJRT_SRecord::CheckFormattable() const {
    if (iRecType < 0) {
        throw NumberAlone(eCode::RecTypeNotSet);
    }
    if (iRecType != 5 && lAddress < 0) {
        throw NumberAlone(eCode::AddressNotSet);
    }
    if (iRecType == 5 && lNumRecs < 0) {
        throw NumberAlone(eCode::NumRecsNotSet);
    }
    if (iRecType <= 3 && iDataCount == 0) {
        throw NumberAlone(eCode::DataNotSet);
    }
    if (iByteCount < 0) {
        throw ByteCountMissing();
    }
}

void clsJRT_SRecord::SetRecord(const QString& sNewRec) {
    const QStringView sLine(sNewRec);
    if (!sLine.startsWith(u'S')) {
        throw CodecError(eCode::NotAnSRecord, "Record", "Not an S record");
    }
    // A line of odd length cannot hold whole byte pairs and a checksum.
    if (sLine.size() % 2 != 0) {
        throw NotANumber("Record");
    }
    const qint32 lStoredSum = HexPair(sLine.last(2), "Record");
    std::array<quint8, lPairsKept> aPairs{};
    if (CheckSumOfPairs(sLine.sliced(2), aPairs, "Record") != lStoredSum) {
        throw CodecError(eCode::CheckSumMismatch, "Record",
                         "Data checksum does not match record checksum");
    }
    ParseFields(sLine, aPairs);
    SetCheckSum(lStoredSum);
    ParseData(sLine, aPairs);
}

void clsJRT_SRecord::ParseFields(QStringView sLine, std::span<const quint8> aPairs) {
    RequirePairs(sLine, 0);
    SetRecType(qint16(DecimalValue(sLine[1], "Record")));
    RequirePairs(sLine, 1);
    SetByteCount(HasHexCount(iRecType) ? aPairs[0]
                                       : qint16(10 * DecimalValue(sLine[2], "Record") +
                                                DecimalValue(sLine[3], "Record")));
    // The count covers address, data and checksum bytes: a line cut short
    // must not pass for a shorter record when its last pair happens to
    // match the checksum.
    if (iByteCount != sLine.size() / 2 - 2) {
        throw CodecError(eCode::InvalidByteCount, "Record",
                         "Byte count does not match the length of the record.");
    }
    if (iRecType == 5) {
        SetAddress(0);
        return;
    }
    const qsizetype lAddressPairs = aAddressDigits[iRecType] / 2;
    RequirePairs(sLine, 1 + lAddressPairs);
    SetAddress(qint32(BigEndian(aPairs.subspan(1, lAddressPairs))));
}

void clsJRT_SRecord::ParseData(QStringView sLine, std::span<const quint8> aPairs) {
    if (CarriesData(iRecType)) {
        const qsizetype lDataStart = 1 + aAddressDigits[iRecType] / 2;
        const qint64 lCount = DataBytesInLine(iRecType, sLine.size());
        SetData(aPairs.subspan(lDataStart, std::min<qint64>(lCount, iDataSlots + 1)));
    } else if (iRecType == 5) {
        RequirePairs(sLine, 3);
        // Stored as read, without the check of SetNumRecs: a count of 0 stays.
        lNumRecs = qint32(BigEndian(aPairs.subspan(1, 2)));
    }
}

qint16 clsJRT_SRecord::RecType() const {
    if (iRecType < 0) {
        throw CodecError(eCode::RecTypeNotSet, "RecType", "Record type not set.");
    }
    return iRecType;
}

void clsJRT_SRecord::SetRecType(qint16 iNewType) {
    if (iNewType < 0 || iNewType > 9 || iNewType == 4) {
        throw CodecError(eCode::InvalidRecType, "RecType", "Invalid record type.");
    }
    iRecType = iNewType;
}

qint16 clsJRT_SRecord::ByteCount() const {
    if (iByteCount < 0) {
        throw ByteCountMissing();
    }
    return iByteCount;
}

void clsJRT_SRecord::SetByteCount(qint16 iNewCount) {
    if (iNewCount < 0 || iNewCount > 69) {
        throw CodecError(eCode::InvalidByteCount, "ByteCount", "Invalid byte count.");
    }
    iByteCount = iNewCount;
}

qint32 clsJRT_SRecord::Address() const {
    if (lAddress < 0) {
        throw CodecError(eCode::AddressNotSet, "Address", "Address not set.");
    }
    return lAddress;
}

void clsJRT_SRecord::SetAddress(qint32 lNewAddress) {
    if (lNewAddress < 0) {
        throw CodecError(eCode::InvalidAddress, "Address", "An invalid address was requested.");
    }
    lAddress = lNewAddress;
}

qint32 clsJRT_SRecord::NumRecs() const {
    if (lNumRecs < 0) {
        throw CodecError(eCode::NumRecsNotSet, "NumRecs", "Number of records not set.");
    }
    return lNumRecs;
}

void clsJRT_SRecord::SetNumRecs(qint32 lNewNumRecs) {
    if (lNewNumRecs < 1) {
        throw CodecError(eCode::InvalidNumRecs, "NumRecs", "Invalid number of records.");
    }
    lNumRecs = lNewNumRecs;
}

quint8 clsJRT_SRecord::Data(qint16 iOffset) const {
    if (iOffset < 0 || iOffset >= iDataSlots) {
        throw CodecError(eCode::OffsetOutOfRange, "Data",
                         "The byte offset in out of the records range.");
    }
    if (!aSlotIsSet[iOffset]) {
        throw CodecError(eCode::DataNotSet, "Data", "No data has been set at this address.");
    }
    return aData[iOffset];
}

void clsJRT_SRecord::SetData(qint16 iOffset, quint8 yNewData) {
    if (iOffset < 0 || iOffset >= iDataSlots) {
        throw CodecError(eCode::OffsetOutOfRange, "Data", "Invalid byte number requested.");
    }
    aData[iOffset] = yNewData;
    iDataCount += aSlotIsSet[iOffset] ? 0 : 1;
    aSlotIsSet[iOffset] = true;
}

std::span<const quint8> clsJRT_SRecord::LeadingData() const {
    return std::span(aData).first(std::countr_one(aSlotIsSet.to_ullong()));
}

void clsJRT_SRecord::SetData(std::span<const quint8> aNewData) {
    const qsizetype lFitting = std::min<qsizetype>(aNewData.size(), iDataSlots);
    std::copy_n(aNewData.begin(), lFitting, aData.begin());
    // Usually no slot above the new ones is set: then no count is needed.
    const auto aAbove = aSlotIsSet & ~LowSlots(lFitting);
    aSlotIsSet |= LowSlots(lFitting);
    iDataCount = qint16(lFitting + (aAbove.none() ? 0 : aAbove.count()));
    if (lFitting < qsizetype(aNewData.size())) {
        SetData(iDataSlots, aNewData[lFitting]); // raises: there is no slot for it
    }
}

qint32 clsJRT_SRecord::CheckSum() const {
    if (lCheckSum < 0) {
        throw CodecError(eCode::CheckSumNotSet, "CheckSum", "Checksum not set.");
    }
    return lCheckSum;
}

void clsJRT_SRecord::SetCheckSum(qint32 lNewCS) {
    if (lNewCS < 0) {
        throw CodecError(eCode::InvalidCheckSum, "CheckSum", "Invalid checksum passed.");
    }
    lCheckSum = lNewCS;
}

qint16 clsJRT_SRecord::DataByteCount(QString& sSRecord) const {
    if (sSRecord.isEmpty()) {
        sSRecord = Record();
    }
    if (sSRecord.size() < 2) {
        throw NotANumber("DataByteCount");
    }
    const qint64 lCount =
        DataBytesInLine(qint16(DecimalValue(sSRecord[1], "DataByteCount")), sSRecord.size());
    if (lCount > std::numeric_limits<qint16>::max()) {
        throw clsError(6, QStringLiteral("clsJRT_SRecord.DataByteCount"),
                       QStringLiteral("Overflow"));
    }
    return qint16(lCount);
}

qint16 clsJRT_SRecord::DataByteCount() const {
    return qint16(DataBytesInLine(iRecType, LineLength()));
}

qint32 clsJRT_SRecord::LineLength() const {
    // "S", the type digit, a two-character count (0 to 69 always fits), the
    // address field (wider when its value is), the data and the checksum.
    CheckFormattable();
    const quint32 lAddressValue = quint32(iRecType == 5 ? lNumRecs : lAddress);
    return qint32(2 + 2 + std::max(aAddressDigits[iRecType], HexDigits(lAddressValue)) +
                  (CarriesData(iRecType) ? 2 * iDataCount : 0) + 2);
}

qint32 clsJRT_SRecord::CalcCheckSum(QString& sSRecord) const {
    if (sSRecord.isEmpty()) {
        sSRecord = Record();
    }
    return CheckSumOfPairs(QStringView(sSRecord).mid(2), {}, "CalcCheckSum");
}

qint32 clsJRT_SRecord::CalcCheckSum() const {
    QString sLine;
    return CalcCheckSum(sLine);
}

void clsJRT_SRecord::Reset() {
    iRecType = -1;
    iByteCount = -1;
    lAddress = -1;
    aSlotIsSet.reset();
    iDataCount = 0;
    lCheckSum = -1;
    lNumRecs = -1;
}
