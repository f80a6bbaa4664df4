#include "tests/support/clsPrivateHome.h"
#include "tests/support/clsPseudoTerminal.h"
#include "tests/support/mdlBoardSim.h"
#include "tests/support/mdlCli.h"
#include "tests/support/mdlRows.h"
#include "tests/support/mdlTestFiles.h"
#include "tests/support/mdlUnitFiles.h"

#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <unistd.h>

// Whole uploads of tessivar-cli to the board simulator on a
// pseudo-terminal, each ending one of the ways the exit status tells. What
// reaches the board's flash is checked by the uploads through the engine.
namespace {

using mdlUnitFiles::aRecords;
const QByteArray aOnlyFill = "S10B6000FFFFFFFFFFFFFFFF9C\r\nS9030000FC\r\n";

const QByteArray aComplete = "Upload Complete - 2 records transferred.\n";
const QByteArray aDeclined = "Upload terminated. - 0 records transfered.\n";
const QByteArray aIncomplete =
    "The board holds an incomplete application: upload it again before use.\n";

struct UploadRow {
    const char* sName;
    QStringList asBoard;  // the simulator's options besides its link and flash
    QStringList asUpload; // the upload's options besides --port and the file
    QByteArray aRecords;
    QByteArray aStdin; // then the end of input
    int iExit;
    // DIR stands for the test's folder in these two.
    QByteArray aOutEnd; // how standard output ends
    QByteArray aErr;    // what standard error holds
    int iSignal = 0;    // sent once the data records go out; 0 for none
    // Port 1 bound to the board and no --port.
    bool bStoredPort = false;
};

const QStringList asBoard22 = {"--target", "22"};

// clang-format off
const UploadRow aUploads[] = {
    // First: its binding makes the settings file the other rows compare.
    {"stored port, warning answered y", asBoard22, {}, aRecords, "y\n", 0, aComplete,
     "WARNING: Uploading records may overwrite existing data.\nContinue? [y/N] ", 0, true},
    {"warning declined at the end of input", asBoard22, {}, aRecords, "", 5, aDeclined,
     "WARNING: Uploading records may overwrite existing data.\n"},
    {"image of fill only, warning answered y without a line end", asBoard22, {}, aOnlyFill, "y", 4,
     "Uploading error - No records transferred.\n", ""},
    {"reply of line noise, shown as escapes", {"--target", "22", "--fault", "3:noise"}, {"--yes"},
     aRecords, "", 3, "Upload terminated. - 1 records transfered.\n", aIncomplete},
    {"the line hung up, named by the device given", {"--target", "22", "--fault", "3:hangup"},
     {"--yes"}, aRecords, "", 3, "DIR/port closed\n", "Error Number: 8020\nDIR/port: reading"},
    {"no target byte within --wait", {"--target", "22", "--delay", "60000"},
     {"--yes", "--wait", "1"}, aRecords, "", 3, aDeclined, "no target byte within 1 s"},
    {"Ctrl+C in the data phase", {"--target", "22", "--fault", "3:slow:1500"}, {"--yes"},
     aRecords, "", 6, "Upload terminated. - 1 records transfered.\n", aIncomplete, SIGINT},
    {"the terminal hung up in the data phase", {"--target", "22", "--fault", "3:slow:1500"},
     {"--yes"}, aRecords, "", 6, "Upload terminated. - 1 records transfered.\n", "", SIGHUP},
};
// clang-format on

} // namespace

class tst_cliUpload : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;
    QTemporaryDir oDir;
    QString sFile = mdlUnitFiles::Write(QDir(oDir.path()));
    QString sLink = oDir.filePath("port");

    // Runs the upload to its end: iSignal, when given, once the data
    // records go out.
    static mdlCli::Outcome Upload(const QStringList& asArguments, const QByteArray& aStdin,
                                  int iSignal) {
        QProcess oCli;
        oCli.start(TESSIVAR_CLI, QStringList{"upload"} + asArguments);
        oCli.write(aStdin);
        oCli.closeWriteChannel();
        QByteArray aOut;
        if (iSignal != 0) {
            mdlCli::ReadUntil(oCli, aOut, "Uploading data records");
            // Long enough for the terminal's progress, had it been drawn.
            QThread::msleep(600);
            // A program already gone has no id, and kill(0) would strike us.
            if (oCli.processId() > 0) {
                ::kill(pid_t(oCli.processId()), iSignal);
            }
        }
        const int iExitCode = mdlCli::Finish(oCli);
        return {iExitCode, aOut + oCli.readAllStandardOutput(), oCli.readAllStandardError()};
    }

private slots:
    void endsAsTheExitStatusTells_data() { mdlRows::Add(aUploads); }

    // No row's upload stores a setting; without --port it takes the stored
    // port number and the device bound to it.
    void endsAsTheExitStatusTells() {
        QFETCH(UploadRow, oRow);
        mdlTestFiles::Write(QDir(oDir.path()), "unit.s19", oRow.aRecords);
        QStringList asPort = {"--port", sLink};
        if (oRow.bStoredPort) {
            QCOMPARE(mdlCli::Run({"ports", "--bind", "1", sLink}).iExitCode, 0);
            asPort = QStringList{};
        }
        const QString sSettings = oHome.Path() + "/config/Quellis/Tessivar.ini";
        const QByteArray aSettings = mdlTestFiles::Read(sSettings);
        QProcess oBoard;
        QVERIFY(mdlBoardSim::Start(oBoard, sLink, oRow.asBoard));
        const mdlCli::Outcome oRun =
            Upload(oRow.asUpload + asPort + QStringList{sFile}, oRow.aStdin, oRow.iSignal);
        oBoard.terminate();
        QVERIFY(oBoard.waitForFinished());
        const QByteArray aDir = oDir.path().toUtf8();
        QVERIFY2(oRun.aOut.endsWith(QByteArray(oRow.aOutEnd).replace("DIR", aDir)),
                 oRun.aOut.constData());
        QVERIFY2(oRun.aErr.contains(QByteArray(oRow.aErr).replace("DIR", aDir)),
                 oRun.aErr.constData());
        QCOMPARE(oRun.iExitCode, oRow.iExit);
        const QString sOpened = oRow.bStoredPort ? "COM1" : sLink;
        QVERIFY(oRun.aOut.contains("\n" + sOpened.toUtf8() + " opened\n"));
        // A pipe gets the log alone, without the terminal's progress.
        QVERIFY(!oRun.aOut.contains('\x1B') && !oRun.aOut.contains("records,"));
        QCOMPARE(mdlTestFiles::Read(sSettings), aSettings);
    }

    // Standard output and standard error on one terminal: the error block
    // adds to the log's last line and does not repeat it.
    void errorSaidOnceOnOneTerminal() {
        clsPseudoTerminal oTerminal;
        QProcess oCli;
        oCli.setStandardOutputFile(oTerminal.SlavePath());
        oCli.setStandardErrorFile(oTerminal.SlavePath());
        oCli.start(TESSIVAR_CLI, {"upload", "--yes", "--port", oDir.filePath("none"), sFile});
        const QByteArray aShown = oTerminal.ReadWhile(oCli);
        QVERIFY2(aShown.endsWith("another device.\nError Number: 8002\n"), aShown.constData());
        QCOMPARE(aShown.count("does not exist"), 1);
    }

    // Streams closed by the caller take none of the files the upload opens:
    // its log written there stopped the upload.
    void closedStandardStreams() {
        mdlTestFiles::Write(QDir(oDir.path()), "unit.s19", aRecords);
        QProcess oBoard;
        const QString sSummary = oDir.filePath("sum");
        QVERIFY(mdlBoardSim::Start(oBoard, sLink, asBoard22 + QStringList{"--summary", sSummary}));
        QProcess oCli;
        oCli.setChildProcessModifier([] {
            for (int iStream = STDIN_FILENO; iStream <= STDERR_FILENO; ++iStream) {
                ::close(iStream);
            }
        });
        oCli.start(TESSIVAR_CLI, {"upload", "--yes", "--port", sLink, sFile});
        // The log is lost, and the exit status says so.
        QCOMPARE(mdlCli::Finish(oCli), 7);
        oBoard.terminate();
        QVERIFY(oBoard.waitForFinished());
        QVERIFY(mdlBoardSim::Lines(sSummary).value(0)["terminate_seen"].toBool());
    }
};

QTEST_GUILESS_MAIN(tst_cliUpload)
#include "tst_cliUpload.moc"
