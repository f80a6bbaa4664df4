#pragma once

#include <QtGlobal>

// What a family of boards needs, by the target id its loader announces: the
// size of its flash image and the shape of the records cut from it, the
// speed of its line, the byte it is answered with and the record that ends
// an upload. Every part of the program asks this table.
struct clsBoardTarget {
    qint32 lTop;     // the image's highest address; 0 when the id has no image
    qint16 iRecType; // of the records cut from the image
    qint16 iMaxData; // data bytes in such a record at most
    qint32 lBaudRate;
    bool bIncrementID;            // the board is answered with its id + 1
    const char* sTerminateRecord; // empty when none is sent
    bool bZeroAfterTerminate;

    // The byte count of a record cut from the image, less its data bytes:
    // the address bytes and the checksum byte.
    qint16 ByteCountOverhead() const { return iRecType == 1 ? 3 : 5; }

    static const clsBoardTarget& For(quint8 yTargetID);
};
