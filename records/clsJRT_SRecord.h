#pragma once

#include "core/clsError.h"

#include <QString>

#include <array>
#include <bitset>
#include <span>

// One S-record as fields, converted to and from its one-line text form.
// Every field is either set or not, and reading one that is not set is an
// error. Both directions share three departures from the common layout: the
// byte count of types 5 to 9 is decimal, type 6 carries a 16-bit address and
// data (the board dialogue's commands), and type 4 is refused.
class clsJRT_SRecord {
public:
    static constexpr qint16 iDataSlots = 64;

    // Codes above the object-error base; 2214 is ours for a line whose
    // fields cannot be read as numbers (a character that is no digit, a line
    // too short for its fields or of odd length).
    enum eCode : qint32 {
        NotAnSRecord = 2200,
        CheckSumMismatch = 2201,
        InvalidRecType = 2202,
        InvalidByteCount = 2203,
        InvalidAddress = 2204,
        InvalidNumRecs = 2205,
        OffsetOutOfRange = 2206,
        InvalidCheckSum = 2207,
        RecTypeNotSet = 2208,
        ByteCountNotSet = 2209,
        AddressNotSet = 2210,
        NumRecsNotSet = 2211,
        DataNotSet = 2212,
        CheckSumNotSet = 2213,
        FieldNotANumber = 2214,
    };

    // Formats the fields into a line with a fresh checksum.
    QString Record() const;
    // Parses a line and checks its checksum and that its byte count matches
    // its length. Earlier contents are not cleared first.
    void SetRecord(const QString& sNewRec);

    qint16 RecType() const;
    void SetRecType(qint16 iNewType);
    qint16 ByteCount() const;
    void SetByteCount(qint16 iNewCount);
    qint32 Address() const;
    void SetAddress(qint32 lNewAddress);
    qint32 NumRecs() const;
    void SetNumRecs(qint32 lNewNumRecs);
    quint8 Data(qint16 iOffset) const;
    void SetData(qint16 iOffset, quint8 yNewData);
    qint32 CheckSum() const;
    void SetCheckSum(qint32 lNewCS);

    // Bulk counterparts of Data for the image: the values of the slots from
    // offset 0 up to the first one not set, and writing aNewData into slots 0
    // onward exactly as one SetData per byte would.
    std::span<const quint8> LeadingData() const;
    void SetData(std::span<const quint8> aNewData);

    // With an empty sSRecord, both work on the object's own formatted line
    // and leave that line in sSRecord.
    qint16 DataByteCount(QString& sSRecord) const;
    qint16 DataByteCount() const;
    // The length of the formatted line, worked out without formatting it.
    qint32 LineLength() const;
    qint32 CalcCheckSum(QString& sSRecord) const;
    qint32 CalcCheckSum() const;

    void Reset();

private:
    // Raises, in formatting's order, what stops the fields being formatted.
    void CheckFormattable() const;
    void ParseFields(QStringView sLine, std::span<const quint8> aPairs);
    void ParseData(QStringView sLine, std::span<const quint8> aPairs);

    qint16 iRecType = -1;
    qint16 iByteCount = -1;
    qint32 lAddress = -1;
    std::array<quint8, iDataSlots> aData{};
    std::bitset<iDataSlots> aSlotIsSet;
    // Distinct slots set since the last Reset; formatting emits that many.
    qint16 iDataCount = 0;
    qint32 lCheckSum = -1;
    qint32 lNumRecs = -1;
};
