#pragma once

#include "records/clsFlashImage.h"
#include "records/clsJRT_SRecord.h"

#include <QString>

// Where each board's serial number goes in its image: iBytes bytes from
// lAddress, the most significant byte first.
class clsSerialField {
public:
    static constexpr qint16 iMostBytes = 8;

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
