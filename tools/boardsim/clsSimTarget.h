#pragma once

#include <QtGlobal>

// What a board of each family expects, written from the protocol alone:
// the program's own table of targets is checked against this one, so the
// two must never be one.
struct clsSimTarget {
    qint32 lFlashSize; // 0: no board of the family exists
    qint32 lBaudRate;
    quint8 yAnswerAdded;          // to the id, in the answer the board expects
    qint16 iRecType;              // of the data records it takes
    qint16 iMaxData;              // data bytes in such a record at most
    const char* sTerminateRecord; // empty when none is expected
    bool bZeroAfterTerminate;

    static const clsSimTarget& For(quint8 yTargetID);
};
