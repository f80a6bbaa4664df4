#include "engine/clsUploadProgress.h"
#include "engine/clsUploadSummary.h"
#include "tests/support/mdlRows.h"

#include <QTest>

// How far an upload has come: the erase commands go first, the records share
// the rest of the line's bytes, and the time left is the line's for the bytes
// still to go.
namespace {

struct ProgressRow {
    const char* sName;
    qint32 lRecordsSent;
    qint64 lBytesSent;
    qint32 iPercent;
    const char* sSecondsLeft;
};

// clang-format off
const ProgressRow aProgress[] = {
    {"no record yet, the sectors erased", 0, 58, 5, "1.04"},
    {"every record", 4, 1058, 100, "0.00"},
};
// clang-format on

} // namespace

Q_DECLARE_METATYPE(ProgressRow)

class tst_clsUploadProgress : public QObject {
    Q_OBJECT

private slots:
    void at_data() { mdlRows::Add(aProgress); }

    void at() {
        QFETCH(ProgressRow, oRow);
        // Two erase commands of 29 bytes with their replies, then 1000 bytes
        // of records, replies and the terminate record, at 9600 baud.
        clsUploadSummary oSummary;
        oSummary.lBaudRate = 9600;
        oSummary.aiEraseOrder = {2, 1};
        oSummary.lRecordsToSend = 4;
        oSummary.lBytesOnLine = 1058;
        const clsUploadProgress oNow = clsUploadProgress::At(oSummary, oRow.lRecordsSent);
        QCOMPARE(oNow.lBytesSent, oRow.lBytesSent);
        QCOMPARE(oNow.Percent(), oRow.iPercent);
        QCOMPARE(QString::number(oNow.dSecondsLeft, 'f', 2), oRow.sSecondsLeft);
    }
};

QTEST_GUILESS_MAIN(tst_clsUploadProgress)
#include "tst_clsUploadProgress.moc"
