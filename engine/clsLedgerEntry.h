#pragma once

#include "engine/clsUploadSequence.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// One upload as the ledger of uploads keeps it.
struct clsLedgerEntry {
    QDateTime oStart;
    QDateTime oEnd;
    QString sHost;
    QString sUser;
    qint16 iPort = 0;
    // The device the port stood for; empty when none.
    QString sDevice;
    // The application file's absolute path.
    QString sFile;
    // Of the two files as they were opened for the upload; empty hashes
    // when they were not.
    qint64 lFileSize = 0;
    QString sFileSha256;
    QString sCommandFileSha256;
    clsUploadSequence::Outcome oOutcome;

    // The entry as one line of JSON, its line end included.
    QByteArray Line() const;
};
