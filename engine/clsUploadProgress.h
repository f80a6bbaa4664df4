#pragma once

#include <QtGlobal>

struct clsUploadSummary;

// How far an upload has come and how long it has left, reckoned from the
// records sent and the time the whole upload takes on the line.
struct clsUploadProgress {
    qint32 lRecordsSent = 0;
    qint32 lRecordsToSend = 0;
    // The erase commands and records sent, with their replies.
    qint64 lBytesSent = 0;
    qint64 lBytesOnLine = 0;
    double dSecondsLeft = 0;

    // At lNewRecordsSent records sent of the upload oSummary tells of.
    static clsUploadProgress At(const clsUploadSummary& oSummary, qint32 lNewRecordsSent);
    // Of the bytes on the line, 0 to 100.
    qint32 Percent() const;
};
