#pragma once

#include "engine/clsOpenedFiles.h"
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
    // 0 for none: the port named by its device alone.
    qint16 iPort = 0;
    // The device the port stood for; empty when none.
    QString sDevice;
    // The application file's path from the start; its size and the hashes
    // once the files were opened.
    clsOpenedFiles oFiles;
    clsUploadSequence::Outcome oOutcome;

    // The entry as one line of JSON, its line end included.
    QByteArray Line() const;
};
