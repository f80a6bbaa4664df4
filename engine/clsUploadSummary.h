#pragma once

#include "engine/clsSerialField.h"

#include <QList>
#include <QPair>

#include <optional>

class clsApplication;

// What an upload of a prepared image would do, found by walking the image
// the way the upload does.
struct clsUploadSummary {
    quint8 yTargetID = 0;
    qint32 lBaudRate = 0;
    quint8 yFillValue = 0;
    QList<qint16> aiEraseOrder;
    // Restricted runs of the image, first and last address of each.
    QList<QPair<qint32, qint32>> aProtected;
    qint32 lImageSize = 0;
    qint32 lRecordsToSend = 0;
    qint32 lCheckSum = 0;
    qint32 lUnrestrictedBytes = 0;
    // Erase commands, records and the terminate bytes, each command and
    // record with the board's reply.
    qint64 lBytesOnLine = 0;
    // A record to send that carries a byte of the serial number.
    struct SerialRecord {
        // Its place among the records sent, from 1.
        qint32 lPosition = 0;
        qint16 iRecType = 0;
        qint32 lAddress = 0;
    };
    // Where the serial number goes, when it goes anywhere, and the records
    // that carry it.
    std::optional<clsSerialField> oSerialField;
    QList<SerialRecord> aSerialRecords;

    // Walks oApp's image from address 0 and puts its byte pointer back.
    static clsUploadSummary Of(clsApplication& oApp);
    // At ten bits a byte: a start bit, eight data bits and a stop bit.
    double LineSeconds() const;
};
