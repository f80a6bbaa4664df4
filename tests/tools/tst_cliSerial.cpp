#include "tests/support/clsPrivateHome.h"
#include "tests/support/mdlBoardSim.h"
#include "tests/support/mdlCli.h"
#include "tests/support/mdlExternalTools.h"
#include "tests/support/mdlRows.h"
#include "tests/support/mdlTestFiles.h"
#include "tests/support/mdlUnitFiles.h"

#include <QTemporaryDir>

#include <csignal>

// tessivar-cli upload --serial to the board simulator: the number each
// board's flash got, the counter file and the ledger after the run, the
// checks before any port opens, and the record that carries the number.
namespace {

using mdlTestFiles::Read;
using mdlTestFiles::Sha256;

constexpr qint32 lField = 0x7000;

struct RefusalRow {
    const char* sName;
    const char* sSerial;
    const char* sSaid;
};

// clang-format off
const RefusalRow aRefusals[] = {
    {"in a protected range", "3FFC:4:1", "0x3FFC to 0x3FFF lies in the protected range 0x0 to 0x3FFF."},
    {"past the top", "0xFFFE:4:1", "0xFFFE to 0x10001 reaches past the image's top, 0xFFFF."},
    {"over the application's data", "4006:4:1", "lies over data of the application file at 0x4006."},
    {"no counter file and no FIRST", "7000:4", "does not exist; a first number starts it, as in --serial 7000:4:100."},
};
// clang-format on

} // namespace

Q_DECLARE_METATYPE(RefusalRow)

class tst_cliSerial : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;
    QString sData = oHome.Path() + "/data/Quellis/Tessivar/";
    QTemporaryDir oDir;
    QString sFile = mdlUnitFiles::Write(QDir(oDir.path()));
    QString sStore = oDir.filePath("serials.json");
    QString sLink = oDir.filePath("port");

    // Each board's number in the ledger since lFrom, and what became of it.
    QStringList LedgerNumbers(qint64 lFrom) const {
        QStringList asNumbers;
        for (const QJsonObject& oLine : mdlBoardSim::Lines(sData + "uploads.jsonl", lFrom)) {
            const QJsonObject oSerial = oLine["serial"].toObject();
            if (!oSerial.isEmpty()) {
                asNumbers << QString::number(oSerial["number"].toInteger()) +
                                 (oSerial["used"].toBool()       ? " used"
                                  : oSerial["returned"].toBool() ? " returned"
                                                                 : " lost");
            }
        }
        return asNumbers;
    }

private slots:
    // A failed board's number goes to the next, in the counter file beside
    // the ledger; the run ends on SIGTERM once the last board ended. The
    // last number's bytes are all fill, and their record is sent all the same.
    void numbersEachBoard() {
        const qint64 lLedger = Read(sData + "uploads.jsonl").size();
        QProcess oBoards;
        const QString sSummary = oDir.filePath("summary");
        QVERIFY(mdlBoardSim::Start(
            oBoards, sLink,
            {"--boards", "3", "--fault", "2/3:silence", "--target", "22", "--summary", sSummary}));
        QProcess oCli;
        oCli.setProcessChannelMode(QProcess::MergedChannels);
        oCli.start(TESSIVAR_CLI, {"upload", "--repeat", "--yes", "--port", sLink, "--serial",
                                  "7000:4:4294967294", sFile});
        QByteArray aOut;
        mdlCli::ReadUntil(oCli, aOut, "board 3:");
        ::kill(pid_t(oCli.processId()), SIGTERM);
        QCOMPARE(mdlCli::Finish(oCli), 3);
        aOut += oCli.readAll();
        QVERIFY2(aOut.contains("\nboard 2: Upload terminated.") &&
                     aOut.endsWith("Boards: 2 good, 1 failed.\n"),
                 aOut.constData());
        // The failed board, told by its port.
        QCOMPARE(aOut.count(sLink.toUtf8() + "] The board holds an incomplete application"), 1);
        oBoards.terminate();
        QVERIFY(oBoards.waitForFinished());
        const QList<QJsonObject> aBoards = mdlBoardSim::Lines(sSummary);
        QCOMPARE(aBoards.value(0)["flash_sha256"].toString(),
                 Sha256(mdlExternalTools::Flash22(sFile, lField, 0xFFFFFFFE)));
        QCOMPARE(aBoards.value(2)["flash_sha256"].toString(),
                 Sha256(mdlExternalTools::Flash22(sFile, lField, 0xFFFFFFFF)));
        QCOMPARE(aBoards.value(2)["data_records"], aBoards.value(0)["data_records"]);
        QCOMPARE(Read(sData + "serials.json"), "{\"next\":4294967296,\"returned\":[]}\n");
        QCOMPARE(LedgerNumbers(lLedger),
                 QStringList({"4294967294 used", "4294967295 returned", "4294967295 used"}));
    }

    void refusesBeforeAnyPortOpens_data() { mdlRows::Add(aRefusals); }

    void refusesBeforeAnyPortOpens() {
        QFETCH(RefusalRow, oRow);
        QFile::remove(sStore);
        const mdlCli::Outcome oRun =
            mdlCli::Run({"upload", "--yes", "--port", oDir.filePath("none"), "--serial",
                         oRow.sSerial, "--serial-store", sStore, sFile});
        QCOMPARE(oRun.iExitCode, 1);
        QVERIFY2(oRun.aErr.contains(oRow.sSaid), oRun.aErr.constData());
        QVERIFY(!QFile::exists(sStore));
    }
};

QTEST_GUILESS_MAIN(tst_cliSerial)
#include "tst_cliSerial.moc"
