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
using mdlUnitFiles::aRecords;

constexpr qint32 lField = 0x7000;
constexpr qint64 lFailed = -1;

struct BoardsRow {
    const char* sName;
    const char* sSerial;
    const char* sBefore; // the counter file; none when there is none
    QStringList asBoards;
    int iExit;
    QList<qint64> alNumbers; // board by board in its flash; lFailed for a board that failed
    const char* sAfter;
    QStringList asLedger; // board by board: the number and what became of it
};

// clang-format off
const BoardsRow aBoardRuns[] = {
    {"a failed board's number goes to the next", "7000:4:100", nullptr,
     {"--boards", "3", "--fault", "2/3:silence"}, 3, {100, lFailed, 101},
     "{\"next\":102,\"returned\":[]}\n", {"100 used", "101 returned", "101 used"}},
    {"a later run goes on from the file, numbers given back first", "7000:4",
     "{\"next\":103,\"returned\":[101]}", {"--boards", "2"}, 0, {101, 103},
     "{\"next\":104,\"returned\":[]}\n", {"101 used", "103 used"}},
};

struct RefusalRow {
    const char* sName;
    const char* sSerial;
    const char* sBefore;
    const char* sSaid;
};

const RefusalRow aRefusals[] = {
    {"in a protected range", "3FFC:4:1", nullptr, "0x3FFC to 0x3FFF lies in the protected range 0x0 to 0x3FFF."},
    {"past the top", "0xFFFE:4:1", nullptr, "0xFFFE to 0x10001 reaches past the image's top, 0xFFFF."},
    {"over the application's data", "4006:4:1", nullptr, "lies over data of the application file at 0x4006."},
    {"no counter file and no FIRST", "7000:4", nullptr, "does not exist; a first number starts it, as in --serial 7000:4:100."},
};
// clang-format on

} // namespace

Q_DECLARE_METATYPE(BoardsRow)
Q_DECLARE_METATYPE(RefusalRow)

class tst_cliSerial : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;
    QString sData = oHome.Path() + "/data/Quellis/Tessivar/";
    QTemporaryDir oDir;
    QString sFile = mdlUnitFiles::Write(QDir(oDir.path()));
    QString sStore = oDir.filePath("serials.json");
    QString sLink = oDir.filePath("port");

    // The counter file as sBefore has it, or none.
    static void SetUp(const QString& sPath, const char* sBefore) {
        QFile::remove(sPath);
        if (sBefore) {
            mdlTestFiles::Write(QDir(), sPath, sBefore);
        }
    }

    // upload --repeat until the simulator's last board ended; the exit status.
    int RunBoards(const char* sSerial, qsizetype lBoards) {
        QProcess oCli;
        oCli.setProcessChannelMode(QProcess::MergedChannels);
        oCli.start(TESSIVAR_CLI,
                   {"upload", "--repeat", "--yes", "--port", sLink, "--serial", sSerial, sFile});
        QByteArray aOut;
        const QByteArray aLast = QByteArray("board ") + QByteArray::number(lBoards) + ':';
        mdlCli::ReadUntil(oCli, aOut, aLast);
        ::kill(pid_t(oCli.processId()), SIGTERM);
        return mdlCli::Finish(oCli);
    }

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
    void numbersEachBoard_data() { mdlRows::Add(aBoardRuns); }

    void numbersEachBoard() {
        QFETCH(BoardsRow, oRow);
        SetUp(sData + "serials.json", oRow.sBefore);
        const qint64 lLedger = Read(sData + "uploads.jsonl").size();
        QProcess oBoards;
        const QString sSummary = oDir.filePath("summary");
        QVERIFY(mdlBoardSim::Start(
            oBoards, sLink, oRow.asBoards + QStringList{"--target", "22", "--summary", sSummary}));
        QCOMPARE(RunBoards(oRow.sSerial, oRow.alNumbers.size()), oRow.iExit);
        oBoards.terminate();
        QVERIFY(oBoards.waitForFinished());
        const QList<QJsonObject> aBoards = mdlBoardSim::Lines(sSummary);
        for (qsizetype i = 0; i < oRow.alNumbers.size(); ++i) {
            if (oRow.alNumbers[i] != lFailed) {
                QCOMPARE(aBoards.value(i)["flash_sha256"].toString(),
                         Sha256(mdlExternalTools::Flash22(sFile, lField, oRow.alNumbers[i])));
            }
        }
        QCOMPARE(Read(sData + "serials.json"), oRow.sAfter);
        QCOMPARE(LedgerNumbers(lLedger), oRow.asLedger);
    }

    void refusesBeforeAnyPortOpens_data() { mdlRows::Add(aRefusals); }

    void refusesBeforeAnyPortOpens() {
        QFETCH(RefusalRow, oRow);
        SetUp(sStore, oRow.sBefore);
        const mdlCli::Outcome oRun =
            mdlCli::Run({"upload", "--yes", "--port", oDir.filePath("none"), "--serial",
                         oRow.sSerial, "--serial-store", sStore, sFile});
        QCOMPARE(oRun.iExitCode, 1);
        QVERIFY2(oRun.aErr.contains(oRow.sSaid), oRun.aErr.constData());
        QCOMPARE(Read(sStore), QByteArray(oRow.sBefore));
    }

    void sendsTheNumbersRecordOfFill() {
        SetUp(sStore, nullptr);
        // A board whose flash is 00 where nothing came shows a record that
        // was left out.
        const QString sFlash = oDir.filePath("flash");
        QProcess oBoard;
        QVERIFY(mdlBoardSim::Start(oBoard, sLink,
                                   {"--target", "22", "--fill", "00", "--flash", sFlash}));
        const mdlCli::Outcome oRun = mdlCli::Run({"upload", "--yes", "--port", sLink, "--serial",
                                                  "7000:1:255", "--serial-store", sStore, sFile});
        oBoard.terminate();
        QVERIFY(oBoard.waitForFinished());
        QCOMPARE(oRun.iExitCode, 0);
        QCOMPARE(Read(sFlash).mid(lField, 8), QByteArray(8, char(0xFF)));
    }
};

QTEST_GUILESS_MAIN(tst_cliSerial)
#include "tst_cliSerial.moc"
