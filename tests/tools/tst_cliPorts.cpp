#include "platform/mdlDataPaths.h"
#include "tests/support/clsPrivateHome.h"
#include "tests/support/mdlBoardSim.h"
#include "tests/support/mdlCli.h"
#include "tests/support/mdlExternalTools.h"
#include "tests/support/mdlRows.h"
#include "tests/support/mdlTestFiles.h"
#include "tests/support/mdlUnitFiles.h"

#include <QTemporaryDir>

#include <array>

// tessivar-cli upload with --port given for several boards at once, each
// played by a simulator of its own: what each flash got, the lines and the
// table, the exit status and the ledger.
namespace {

using mdlTestFiles::Sha256;
using mdlUnitFiles::aCommands;
using mdlUnitFiles::aRecords;

struct PortsRow {
    const char* sName;
    QStringList asFaults; // a board each; empty for none
    bool bByNumber;       // ports 1, 2, ... bound to the boards
    const char* sSerial;  // --serial; none when null
    int iExit;
    QString sCount; // the last line, %1 for the boards' folder
};

// clang-format off
const PortsRow aRuns[] = {
    {"three devices, the second board faulted", {"", "3:program-error", ""}, false, nullptr, 3,
     "Ports: 2 good, 1 failed: %1/board2."},
    {"two port numbers, a serial number each", {"", ""}, true, "7000:4:100", 0,
     "Ports: 2 good, 0 failed."},
};

struct RefusedRow {
    const char* sName;
    const char* sCommands; // the command file; the unit's when null
    bool bAsked;           // the warning asked, and answered no
    int iExit;
    const char* sSaid; // on standard error
};

const RefusedRow aRefusals[] = {
    {"a file that cannot be prepared", "XX\r\n", false, 1, "Error Number: 2003"},
    {"the warning answered no", nullptr, true, 5, "Continue? [y/N] "},
};
// clang-format on

using Boards = std::array<QProcess, 3>;

QString Link(const QDir& oDir, qsizetype i) {
    return oDir.filePath(QStringLiteral("board%1").arg(i + 1));
}

// What board i wrote of itself once it ended.
QJsonObject Summary(const QDir& oDir, qsizetype i) {
    return mdlBoardSim::Lines(Link(oDir, i) + ".json").value(0);
}

// A simulated board for each of asFaults, board1 to boardN in oDir.
bool StartBoards(Boards& aBoards, const QDir& oDir, const QStringList& asFaults) {
    for (qsizetype i = 0; i < asFaults.size(); ++i) {
        QStringList asOptions = {"--target", "22", "--summary", Link(oDir, i) + ".json"};
        if (!asFaults.at(i).isEmpty()) {
            asOptions << "--fault" << asFaults.at(i);
        }
        if (!mdlBoardSim::Start(aBoards[size_t(i)], Link(oDir, i), asOptions)) {
            return false;
        }
    }
    return true;
}

// The boards end and write their summaries.
void EndBoards(Boards& aBoards) {
    for (QProcess& oBoard : aBoards) {
        oBoard.terminate();
        oBoard.waitForFinished();
    }
}

} // namespace

class tst_cliPorts : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;

private slots:
    void eachPortGetsTheImage_data() { mdlRows::Add(aRuns); }

    // The files are changed while the warning waits for its answer: every
    // board still gets the image prepared before, and the ledger names the
    // files as they were then.
    void eachPortGetsTheImage() {
        QFETCH(PortsRow, oRow);
        const QTemporaryDir oDir;
        const QDir oFiles(oDir.path());
        const QString sFile = mdlUnitFiles::Write(oFiles);
        Boards aBoards;
        QVERIFY(StartBoards(aBoards, oFiles, oRow.asFaults));
        QStringList asImages;
        QStringList asArguments = {"upload"};
        for (qsizetype i = 0; i < oRow.asFaults.size(); ++i) {
            asImages << Sha256(oRow.sSerial ? mdlExternalTools::Flash22(sFile, 0x7000, 100 + i)
                                            : mdlExternalTools::Flash22(sFile));
            const QString sPort = oRow.bByNumber ? QString::number(i + 1) : Link(oFiles, i);
            QVERIFY(!oRow.bByNumber ||
                    mdlCli::Run({"ports", "--bind", sPort, Link(oFiles, i)}).iExitCode == 0);
            asArguments << "--port" << sPort;
        }
        if (oRow.sSerial) {
            asArguments << "--serial" << oRow.sSerial << "--serial-store"
                        << oFiles.filePath("serials.json");
        }
        const qint64 lLedgerBefore = QFileInfo(mdlDataPaths::LedgerFile()).size();
        QProcess oCli;
        oCli.start(TESSIVAR_CLI, asArguments << sFile);
        oCli.setReadChannel(QProcess::StandardError);
        QByteArray aErr;
        mdlCli::ReadUntil(oCli, aErr, "Continue? [y/N] ");
        mdlUnitFiles::Change(oFiles);
        oCli.write("y\n");
        oCli.closeWriteChannel();
        QCOMPARE(mdlCli::Finish(oCli), oRow.iExit);
        EndBoards(aBoards);
        const QByteArray aOut = oCli.readAllStandardOutput();
        QVERIFY2(aOut.endsWith(oRow.sCount.arg(oDir.path()).toUtf8() + "\n"), aOut.constData());
        for (qsizetype i = 0; i < oRow.asFaults.size(); ++i) {
            const QString sName = oRow.bByNumber ? QString("port %1").arg(i + 1) : Link(oFiles, i);
            const QString sOpened = oRow.bByNumber ? QString("COM%1").arg(i + 1) : sName;
            QVERIFY2(aOut.contains(QString("\n[%1] %2 opened\n").arg(sName, sOpened).toUtf8()),
                     aOut.constData());
            // Which board took which number is the ports' race.
            const QString sFlash = Summary(oFiles, i)["flash_sha256"].toString();
            QCOMPARE(asImages.removeOne(sFlash), oRow.asFaults[i].isEmpty());
        }
        const QList<QJsonObject> aLedger =
            mdlBoardSim::Lines(mdlDataPaths::LedgerFile(), lLedgerBefore);
        QCOMPARE(aLedger.size(), oRow.asFaults.size());
        for (const QJsonObject& oLine : aLedger) {
            QCOMPARE(oLine["file_sha256"].toString(), Sha256(aRecords));
            QCOMPARE(oLine["command_file_sha256"].toString(), Sha256(aCommands));
            // A device named alone goes by no port number.
            QCOMPARE(oLine["port"].isNull(), !oRow.bByNumber);
        }
    }

    void refusedBeforeAnyPortOpens_data() { mdlRows::Add(aRefusals); }

    void refusedBeforeAnyPortOpens() {
        QFETCH(RefusedRow, oRow);
        const QTemporaryDir oDir;
        const QDir oFiles(oDir.path());
        const QString sFile = mdlUnitFiles::Write(oFiles);
        if (oRow.sCommands) {
            mdlTestFiles::Write(oFiles, "unit.cmd", oRow.sCommands);
        }
        Boards aBoards;
        QVERIFY(StartBoards(aBoards, oFiles, {"", ""}));
        const qint64 lLedgerBefore = QFileInfo(mdlDataPaths::LedgerFile()).size();
        QProcess oCli;
        oCli.start(TESSIVAR_CLI,
                   {"upload", "--port", Link(oFiles, 0), "--port", Link(oFiles, 1), sFile});
        oCli.setReadChannel(QProcess::StandardError);
        QByteArray aErr;
        mdlCli::ReadUntil(oCli, aErr, oRow.sSaid);
        if (oRow.bAsked) {
            // Time enough for a port's upload started too early to open its port.
            QTest::qWait(2000);
            oCli.write("n\n");
        }
        oCli.closeWriteChannel();
        QCOMPARE(mdlCli::Finish(oCli), oRow.iExit);
        EndBoards(aBoards);
        QVERIFY2(aErr.contains(oRow.sSaid), aErr.constData());
        for (qsizetype i = 0; i < 2; ++i) {
            QCOMPARE(Summary(oFiles, i)["port_opens"].toInt(), 0);
        }
        QVERIFY(mdlBoardSim::Lines(mdlDataPaths::LedgerFile(), lLedgerBefore).isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_cliPorts)
#include "tst_cliPorts.moc"
