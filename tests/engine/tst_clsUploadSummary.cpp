#include "engine/clsUploadSummary.h"
#include "tests/support/clsPreparation.h"
#include "tests/support/mdlRaised.h"
#include "tests/support/mdlRows.h"
#include "tests/support/mdlTestFiles.h"

#include <QTest>

namespace {

using Ranges = QList<QPair<qint32, qint32>>;

QByteArray Line(const QString& sBody) {
    return mdlTestFiles::WithCheckSum(sBody).toLatin1() + "\r\n";
}

// On the line: a type-1 record of 8 data bytes is 26 characters, its 0x00
// and the board's 14-character reply; an erase command 14, 0x00 and reply;
// "S9030000FC" and its 0x00.
constexpr int iEight = 26 + 1 + 14;
constexpr int iErase = 14 + 1 + 14;
constexpr int iS9 = 11;
const QByteArray aEight = Line("S10B0000" + QString(16, u'1'));

struct SummaryRow {
    const char* sName;
    QByteArray aCommands, aRecords;
    qint32 lBaudRate;
    QList<qint16> aiEraseOrder;
    Ranges aProtected;
    int iRecords;
    qint64 lBytesOnLine;
};

// clang-format off
const SummaryRow aSummaries[] = {
    {"22: erase order reversed, blank record skipped, S9 and its 0x00",
     "16\r\nFF\r\n0,0,3FFF,R\r\n1,4000,7FFF,E\r\n2,8000,FFFF,E\r\n",
     Line("S10B40000001020304050607") + Line("S10B6000" + QString(16, u'F')) +
         Line("S10B80001011121314151617"),
     19200, {2, 1}, {{0, 0x3FFF}}, 2, 2 * iErase + 2 * iEight + iS9},
    {"24: S9 and its 0x00", "18\r\nFF\r\n", aEight, 19200, {}, {}, 1, iEight + iS9},
    {"21: records of 64 bytes, S7 without a 0x00", "15\r\nFF\r\n", Line("S30900000000AABBCCDD"),
     57600, {}, {}, 1, 14 + 128 + 1 + 14 + 14},
    {"18: no terminate", "12\r\nFF\r\n", aEight, 19200, {}, {}, 1, iEight},
    {"19: no terminate", "13\r\nFF\r\n", Line("S30600000100AA"), 57600, {}, {}, 1,
     14 + 128 + 1 + 14},
    {"fill 00, only the last byte set", "16\r\n00\r\n", Line("S1040007AA"), 19200, {}, {}, 1,
     iEight + iS9},
    {"fill 5A: records of 5A blank, of FF not", "16\r\n5A\r\n",
     Line("S10B00005A5A5A5A5A5A5A5A") + Line("S10B0008" + QString(16, u'F')), 19200, {}, {}, 1,
     iEight + iS9},
    {"protected up to the top, nothing to send", "16\r\nFF\r\n0,FF00,FFFF,R\r\n", "", 19200, {},
     {{0xFF00, 0xFFFF}}, 0, iS9},
};
// clang-format on

} // namespace

class tst_clsUploadSummary : public QObject {
    Q_OBJECT

    clsPreparation oUnit;
    std::optional<clsApplication>& oApp = oUnit.oApp;

    void Prepare(const QByteArray& aCommands, const QByteArray& aRecords) {
        oUnit.Renew();
        QCOMPARE(oUnit.Prepare(aCommands, aRecords), QString());
    }

private slots:
    void summary_data() { mdlRows::Add(aSummaries); }

    void summary() {
        QFETCH(SummaryRow, oRow);
        Prepare(oRow.aCommands, oRow.aRecords);
        const clsUploadSummary oSummary = clsUploadSummary::Of(*oApp);
        QCOMPARE(oSummary.lBaudRate, oRow.lBaudRate);
        QCOMPARE(oSummary.aiEraseOrder, oRow.aiEraseOrder);
        QCOMPARE(oSummary.aProtected, oRow.aProtected);
        QCOMPARE(oSummary.lRecordsToSend, oRow.iRecords);
        QCOMPARE(oSummary.lBytesOnLine, oRow.lBytesOnLine);
        QCOMPARE(oSummary.LineSeconds(), double(oRow.lBytesOnLine * 10) / oRow.lBaudRate);
    }

    // The upload walks the same image afterwards: the summary must leave it
    // where it found it, also at its end.
    void leavesTheWalkWhereItWas() {
        Prepare("16\r\nFF\r\n", QByteArray());
        clsFlashImage& oImage = oApp->FlashImage();
        oImage.Export();
        clsUploadSummary::Of(*oApp);
        QCOMPARE(oImage.Export().Address(), 8);
        while (mdlRaised::Text([&] { oImage.Export(); }).isEmpty()) {
        }
        clsUploadSummary::Of(*oApp);
        QVERIFY(mdlRaised::Text([&] { oImage.Export(); }).startsWith("2104 "));
    }
};

QTEST_GUILESS_MAIN(tst_clsUploadSummary)
#include "tst_clsUploadSummary.moc"
