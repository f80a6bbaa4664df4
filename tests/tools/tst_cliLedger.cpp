#include "tests/support/clsPrivateHome.h"
#include "tests/support/mdlBoardSim.h"
#include "tests/support/mdlCli.h"
#include "tests/support/mdlExternalTools.h"
#include "tests/support/mdlRows.h"
#include "tests/support/mdlUnitFiles.h"

#include <QSysInfo>
#include <QTemporaryDir>

// The ledger through tessivar-cli: a line for every upload, to the board
// simulator on a pseudo-terminal or failed before it, whatever becomes of
// the ledger; and the ledger verb that lists the lines.
namespace {

using mdlUnitFiles::aCommands;
using mdlUnitFiles::aRecords;

struct UploadRow {
    const char* sName;
    QByteArray aCommands;
    QStringList asBoard; // none: nothing on the line
    int iExit;
    const char* sResult;
    int iCode; // 0 for none
    int iRecords;
    const char* sMessage; // or a part of it
    bool bPrepared;       // the target and the image's checksum known
};

// clang-format off
const UploadRow aUploads[] = {
    {"complete", aCommands, {"--target", "22"}, 0, "complete", 0, 2, "Upload Complete", true},
    {"wrong target", aCommands, {"--target", "22", "--announce", "21"}, 3, "board failed", 2005, 0,
     "Application not designed for this target board.", true},
    {"no target id", "XY\r\nFF\r\n", {}, 1, "run failed", 2003, 0,
     "Unable to determine expected target ID.", false},
    {"no device on the port", aCommands, {}, 3, "run failed", 8002, 0, "the device does not exist",
     true},
};

// Two entries, each followed by a damaged line, the last without its end,
// in UTC. The first's file name holds raw control and format characters
// and an escaped line end.
const QByteArray aFirstStart = R"({"start":"2024-05-02T09:15:00.000Z","port":1,"device":"/dev/ttyS0","file":"/u/)";
const QByteArray aFirstEnd = R"(a\nb.s19","target":22,"records":2,"result":"complete","code":null,"duration":3.26})";
const QByteArray aFirst = aFirstStart + "\x1B]0;x\x07\xC2\x9B" "31m\xE2\x80\xAE" + aFirstEnd;
const QByteArray aFirstJson = aFirstStart + R"(\u001b]0;x\u0007\u009b31m\u202e)" + aFirstEnd;
const QByteArray aSecond = R"({"start":"2024-05-02T09:20:00.000Z","port":3,"device":null,"file":"/u/app.s19","target":null,"records":0,"result":"run failed","code":2003,"duration":0.12})";
const QByteArray aLedger = aFirst + "\n{\"start\":\n" + aSecond + "\n{\"end";
const QByteArray aHeading = "time                 port        file                                 target  records  result           duration\n";
const QByteArray aFirstRow = R"(2024-05-02 09:15:00  /dev/ttyS0  \x1b]0;x\x07\x9b31m\u202ea\x0ab.s19  22      2        complete         3.3 s)" "\n";
const QByteArray aSecondRow = "2024-05-02 09:20:00  COM3        app.s19                              -       0        run failed 2003  0.1 s\n";
// The columns as wide as the last entry alone needs.
const QByteArray aLastTable = "time                 port  file     target  records  result           duration\n"
                              "2024-05-02 09:20:00  COM3  app.s19  -       0        run failed 2003  0.1 s\n";
// LEDGER stands for the ledger's path.
const QByteArray aSecondDamaged = "tessivar-cli: line 2 of LEDGER is damaged; skipped.\n";
const QByteArray aFourthDamaged = "tessivar-cli: line 4 of LEDGER is damaged; skipped.\n";

struct ListRow {
    const char* sName;
    QStringList asOptions;
    QByteArray aOut;
    QByteArray aErr;
};

const ListRow aLists[] = {
    {"table, control characters as escapes", {}, aHeading + aFirstRow + aSecondRow,
     aSecondDamaged + aFourthDamaged},
    {"json, control and format characters escaped", {"--json"}, aFirstJson + "\n" + aSecond + "\n",
     aSecondDamaged + aFourthDamaged},
    {"table, last 1", {"--last", "1"}, aLastTable, aFourthDamaged},
};
// clang-format on

} // namespace

class tst_cliLedger : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;
    QString sLedger = oHome.Path() + "/data/Quellis/Tessivar/uploads.jsonl";

    // Uploads sFile on sLink, to the board simulator when asBoard names
    // its options.
    static mdlCli::Outcome Upload(const QString& sFile, const QString& sLink,
                                  const QStringList& asBoard) {
        QProcess oBoard;
        if (!asBoard.isEmpty() && !mdlBoardSim::Start(oBoard, sLink, asBoard)) {
            return {-1, {}, "the board simulator did not start"};
        }
        const mdlCli::Outcome oRun = mdlCli::Run({"upload", "--yes", "--port", sLink, sFile});
        oBoard.terminate();
        oBoard.waitForFinished();
        return oRun;
    }

private slots:
    void recordsEveryUpload_data() { mdlRows::Add(aUploads); }

    void recordsEveryUpload() {
        QFETCH(UploadRow, oRow);
        const QTemporaryDir oDir;
        mdlTestFiles::Write(QDir(oDir.path()), "unit.cmd", oRow.aCommands);
        const QString sFile = mdlTestFiles::Write(QDir(oDir.path()), "unit.s19", aRecords);
        const qsizetype lBefore = mdlBoardSim::Lines(sLedger).size();
        const mdlCli::Outcome oRun = Upload(sFile, oDir.filePath("port"), oRow.asBoard);
        QCOMPARE(oRun.iExitCode, oRow.iExit);
        const QList<QJsonObject> aEntries = mdlBoardSim::Lines(sLedger);
        QCOMPARE(aEntries.size(), lBefore + 1);
        const QJsonObject& oEntry = aEntries.last();
        QCOMPARE(oEntry["result"].toString(), oRow.sResult);
        QCOMPARE(oEntry["code"], oRow.iCode == 0 ? QJsonValue() : QJsonValue(oRow.iCode));
        QCOMPARE(oEntry["records"].toInt(), oRow.iRecords);
        QVERIFY2(oEntry["message"].toString().contains(oRow.sMessage),
                 qPrintable(oEntry["message"].toString()));
        QCOMPARE(oEntry["file"].toString(), sFile);
        QCOMPARE(oEntry["device"].toString(), oDir.filePath("port"));
        QCOMPARE(oEntry["host"].toString(), QSysInfo::machineHostName());
        QCOMPARE(oEntry["user"].toString(), mdlExternalTools::Run("id", {"-un"}).trimmed());
        const QJsonObject oInspect =
            QJsonDocument::fromJson(mdlCli::Run({"inspect", "--json", sFile}).aOut).object();
        QCOMPARE(oEntry["target"], oRow.bPrepared ? oInspect["target"] : QJsonValue());
        QCOMPARE(oEntry["image_checksum"], oRow.bPrepared ? oInspect["checksum"] : QJsonValue());
        const QDateTime oStart =
            QDateTime::fromString(oEntry["start"].toString(), Qt::ISODateWithMs);
        const QDateTime oEnd = QDateTime::fromString(oEntry["end"].toString(), Qt::ISODateWithMs);
        QVERIFY(oStart.timeSpec() != Qt::LocalTime && oStart <= oEnd);
        QCOMPARE(oEntry["duration"].toDouble(), oStart.msecsTo(oEnd) / 1000.0);
    }

    void listsTheLedger_data() { mdlRows::Add(aLists); }

    void listsTheLedger() {
        QFETCH(ListRow, oRow);
        mdlTestFiles::Write(QDir(), sLedger, aLedger);
        qputenv("TZ", "UTC");
        const mdlCli::Outcome oRun = mdlCli::Run(QStringList{"ledger"} + oRow.asOptions);
        QCOMPARE(oRun.iExitCode, 0);
        QCOMPARE(oRun.aOut, oRow.aOut);
        QCOMPARE(oRun.aErr, QByteArray(oRow.aErr).replace("LEDGER", sLedger.toUtf8()));
    }
};

QTEST_GUILESS_MAIN(tst_cliLedger)
#include "tst_cliLedger.moc"
