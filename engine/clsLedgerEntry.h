#pragma once

#include "engine/clsOpenedFiles.h"
#include "engine/clsUploadSequence.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>

#include <optional>

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

    // What a line of the ledger says of its upload, as far as a listing of
    // uploads needs it, read by the keys Line writes. A line written by other
    // hands may lack a key or hold another kind of value there: that field
    // is then empty.
    struct Recorded {
        struct SerialUse {
            std::optional<qint64> lNumber;
            bool bUsed = false;
            bool bReturned = false;
        };
        QDateTime oStart;
        std::optional<qint64> lPort;
        std::optional<QString> sDevice;
        QString sFile;
        std::optional<qint64> lTarget;
        std::optional<qint64> lRecords;
        std::optional<QString> sResult;
        std::optional<qint64> lCode;
        double dDuration = 0;
        // None where the board took no serial number.
        std::optional<SerialUse> oSerial;
    };

    // The entry as one line of JSON, its line end included.
    QByteArray Line() const;
    static Recorded Read(const QJsonObject& oLine);
};
