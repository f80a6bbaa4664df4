#pragma once

#include "records/clsFlashImage.h"
#include "records/clsJRT_SRecord.h"

#include <QString>

#include <optional>

// Where each board's serial number goes in its image: iBytes bytes from
// lAddress, the most significant byte first.
class clsSerialField {
public:
    static constexpr qint16 iMostBytes = 8;

    // What a text ADDRESS:BYTES[:FIRST] gives: ADDRESS in hexadecimal, 0x
    // before it or not, up to 32 bits; BYTES 1 to iMostBytes; FIRST, the
    // first number, in decimal.
    struct Given;
    // bWithFirst: FIRST may follow.
    static Given Parse(const QString& sText, bool bWithFirst);

    clsSerialField(qint64 lNewAddress, qint16 iNewBytes)
        : lAddress(lNewAddress), iBytes(iNewBytes) {}

    qint64 Address() const { return lAddress; }
    qint16 Bytes() const { return iBytes; }
    qint64 LastAddress() const { return lAddress + iBytes - 1; }
    // The largest number a board can take; eight bytes hold a signed 64-bit
    // count, less its last number.
    qint64 Largest() const;
    // Raises 2011, naming what the field hits, unless it lies inside the
    // image, outside every protected range and over no byte the
    // application file wrote.
    void Check(const clsFlashImage& oImage) const;
    // lNumber in the field's cells, as cells that a record wrote.
    void Stamp(clsFlashImage& oImage, qint64 lNumber) const;
    // True when the record carries a byte of the field.
    bool Holds(const clsJRT_SRecord& oRecord) const;
    // Such as "0x7000 to 0x7003", or "0x7000" for one byte.
    QString Range() const;
    // Such as "0x7000".
    static QString Hex(qint64 lValue);

private:
    qint64 lAddress;
    qint16 iBytes;
};

struct clsSerialField::Given {
    enum class eProblem { None, Form, First };
    // Form: the text is none of the forms; First: FIRST is no number from 0
    // to what the field can hold.
    eProblem iProblem = eProblem::None;
    // Also where FIRST is wrong, for the largest number it could be.
    std::optional<clsSerialField> oField = std::nullopt;
    std::optional<qint64> oFirst = std::nullopt;
};
