#include "engine/mdlComms.h"
#include "platform/clsJRT_Registry.h"
#include "platform/mdlDataPaths.h"
#include "tests/support/clsPrivateHome.h"
#include "tests/support/clsPseudoTerminal.h"
#include "tests/support/mdlBoardSim.h"
#include "tests/support/mdlCli.h"
#include "tests/support/mdlExternalTools.h"
#include "tests/support/mdlRows.h"
#include "tests/support/mdlTestFiles.h"
#include "tests/support/mdlUnitFiles.h"

#include <QTemporaryDir>

#include <csignal>

// tessivar-cli upload --repeat to the board simulator playing a line of
// boards on one pseudo-terminal: what each board's flash got, the count
// at the end and the exit status.
namespace {

using mdlTestFiles::Sha256;
using mdlUnitFiles::aCommands;
using mdlUnitFiles::aRecords;

enum class eAction { Interrupt, ChangeFiles, MovePort };

struct Step {
    const char* sAfter; // once the output holds it
    eAction iAction;
};

struct RepeatRow {
    const char* sName;
    QStringList asBoard; // the simulator's options besides target, link, linger, summary
    QList<Step> aSteps;
    int iExit;
    QByteArray aOutEnd;
    QByteArray aSaid;
    // Each holds the file's image in its flash.
    qsizetype lBoards;
    // Port 1 bound to the board and no --port.
    bool bStoredPort = false;
};

const QStringList asSlowBoard = {"--fault", "3:slow:1500"};
const char* sDataPhase = "Uploading data records";

// clang-format off
const RepeatRow aRuns[] = {
    // The simulator ends after its boards, and its link with it.
    {"files changed and stored port number moved after the start, port gone after two boards",
     {"--boards", "2"}, {{"board 1:", eAction::ChangeFiles}, {"board 1:", eAction::MovePort}}, 3,
     "Boards: 2 good, 1 failed.\n", "tessivar-cli: waiting for a board. Ctrl+C ends the run; "
     "once a board is under way, Ctrl+C ends it after this board.\n", 2, true},
    {"Ctrl+C during a board: the board ends first", asSlowBoard,
     {{sDataPhase, eAction::Interrupt}}, 0, "Boards: 1 good, 0 failed.\n",
     "Ctrl+C again abandons the board.", 1},
};
// clang-format on

} // namespace

Q_DECLARE_METATYPE(RepeatRow)

class tst_cliRepeat : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;

    // Runs upload --repeat --yes with asArguments, taking the row's steps as
    // the output grows; the exit status and the output, standard error within.
    static std::pair<int, QByteArray> Run(const QStringList& asArguments, const RepeatRow& oRow,
                                          const QDir& oFiles) {
        QProcess oCli;
        oCli.setProcessChannelMode(QProcess::MergedChannels);
        oCli.start(TESSIVAR_CLI, QStringList{"upload", "--repeat", "--yes"} + asArguments);
        oCli.closeWriteChannel();
        QByteArray aOut;
        for (const Step& oStep : oRow.aSteps) {
            mdlCli::ReadUntil(oCli, aOut, oStep.sAfter);
            if (oStep.iAction == eAction::MovePort) {
                clsJRT_Registry oStore;
                oStore.SetSubKey(mdlComms::CommsKeyPath());
                oStore.OpenKey();
                oStore.SetValue("PortNumber", clsJRT_Registry::RegDword, 2);
                oStore.CloseKey();
            } else if (oStep.iAction == eAction::ChangeFiles) {
                mdlUnitFiles::Change(oFiles);
            } else if (oCli.processId() > 0) {
                ::kill(pid_t(oCli.processId()), SIGINT);
            }
        }
        const int iExitCode = mdlCli::Finish(oCli);
        return {iExitCode, aOut + oCli.readAll()};
    }

private slots:
    void eachBoardGetsTheImage_data() { mdlRows::Add(aRuns); }

    void eachBoardGetsTheImage() {
        QFETCH(RepeatRow, oRow);
        const QTemporaryDir oDir;
        const QDir oFiles(oDir.path());
        const QString sFile = mdlUnitFiles::Write(oFiles);
        const QString sImage = Sha256(mdlExternalTools::Flash22(sFile));
        const QString sLink = oDir.filePath("port");
        QProcess oBoard;
        QVERIFY(mdlBoardSim::Start(
            oBoard, sLink,
            oRow.asBoard + QStringList{"--target", "22", "--summary", oDir.filePath("sum")}));
        const qint64 lLedgerBefore = QFileInfo(mdlDataPaths::LedgerFile()).size();
        QVERIFY(!oRow.bStoredPort || mdlCli::Run({"ports", "--bind", "1", sLink}).iExitCode == 0);
        const QStringList asPort = oRow.bStoredPort ? QStringList{} : QStringList{"--port", sLink};
        const auto [iExit, aOut] = Run(asPort + QStringList{sFile}, oRow, oFiles);
        oBoard.terminate();
        QVERIFY(oBoard.waitForFinished());
        QVERIFY2(aOut.endsWith(oRow.aOutEnd) && aOut.contains(oRow.aSaid), aOut.constData());
        QCOMPARE(iExit, oRow.iExit);
        QVERIFY(aOut.contains("SHA-256 " + Sha256(aRecords).toLatin1() + "  " + sFile.toUtf8()));
        const QList<QJsonObject> aBoards = mdlBoardSim::Lines(oDir.filePath("sum"));
        // Every board had the first one's sectors erased.
        for (qsizetype i = 0; i < oRow.lBoards; ++i) {
            QCOMPARE(aBoards.value(i)["flash_sha256"].toString(), sImage);
            QCOMPARE(aBoards.value(i)["erase_sectors"], aBoards.first()["erase_sectors"]);
        }
        // A ledger line a board, naming the files the image was made from,
        // and one for a wait for a board that Ctrl+C ended or a port that
        // did not open.
        qsizetype iBoardLines = 0;
        for (const QJsonObject& oLine :
             mdlBoardSim::Lines(mdlDataPaths::LedgerFile(), lLedgerBefore)) {
            if (oLine["state"] != "WaitTarget" && oLine["state"] != "Idle") {
                ++iBoardLines;
                QCOMPARE(oLine["file_sha256"].toString(), Sha256(aRecords));
            }
        }
        QCOMPARE(iBoardLines, aOut.count("\nboard "));
    }

    // A run put in the background of a terminal goes on while what is typed
    // there is another job's: reading it would stop the run until brought back.
    void goesOnInTheBackgroundOfATerminal() {
        const QTemporaryDir oDir;
        const QString sFile = mdlUnitFiles::Write(QDir(oDir.path()));
        const QString sLink = oDir.filePath("port");
        QProcess oBoard;
        QVERIFY(mdlBoardSim::Start(oBoard, sLink, asSlowBoard + QStringList{"--target", "22"}));
        clsPseudoTerminal oTerminal;
        QProcess oCli;
        oCli.setProcessChannelMode(QProcess::MergedChannels);
        oCli.setStandardInputFile(oTerminal.SlavePath());
        // A shell with job control on the terminal runs it with &.
        oCli.start("setsid", {"-c", "sh", "-mc", R"("$0" "$@" & wait $!)", TESSIVAR_CLI, "upload",
                              "--repeat", "--yes", "--port", sLink, sFile});
        QByteArray aOut;
        mdlCli::ReadUntil(oCli, aOut, sDataPhase);
        QVERIFY(oTerminal.Write("typed\n"));
        mdlCli::ReadUntil(oCli, aOut, "board 1:");
        mdlCli::Finish(oCli);
        QVERIFY2(aOut.contains("board 1: Upload Complete"), aOut.constData());
    }
};

QTEST_GUILESS_MAIN(tst_cliRepeat)
#include "tst_cliRepeat.moc"
