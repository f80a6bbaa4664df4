#include "tests/support/clsPrivateHome.h"
#include "tests/support/mdlCli.h"
#include "tests/support/mdlRows.h"
#include "tests/support/mdlTestFiles.h"
#include "tests/support/mdlUnitFiles.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <unistd.h>

// Whole uploads of tessivar-cli to the board simulator on a
// pseudo-terminal, each ending one of the ways the exit status tells. What
// reaches the board's flash is checked by the uploads through the engine.
namespace {

using mdlUnitFiles::aCommands;
using mdlUnitFiles::aRecords;
const QByteArray aOnlyFill = "S10B6000FFFFFFFFFFFFFFFF9C\r\nS9030000FC\r\n";

const QByteArray aComplete = "Upload Complete - 2 records transferred.\n";
const QByteArray aDeclined = "Upload terminated. - 0 records transfered.\n";

struct UploadRow {
    const char* sName;
    QStringList asBoard;  // the simulator's options besides its link and flash
    QStringList asUpload; // the upload's options besides --port and the file
    QByteArray aRecords;
    QByteArray aStdin; // then the end of input
    int iExit;
    QByteArray aOutEnd; // how standard output ends
    QByteArray aErr;    // what standard error holds
    int iSignal = 0;    // sent once the data records go out; 0 for none
};

const QStringList asBoard22 = {"--target", "22"};

// clang-format off
const UploadRow aUploads[] = {
    {"whole upload, --yes", asBoard22, {"--yes"}, aRecords, "", 0, aComplete, ""},
    {"warning answered y", asBoard22, {}, aRecords, "y\n", 0, aComplete, "Continue? [y/N]"},
    {"warning declined at the end of input", asBoard22, {}, aRecords, "", 5, aDeclined,
     "WARNING: Uploading records may overwrite existing data.\n"},
    {"wrong target byte", {"--target", "22", "--announce", "21"}, {"--yes"}, aRecords, "", 3,
     "Application not designed for this target board. - Upload terminated.\n",
     "Error Number: 2005\nApplication not designed for this target board.\n"},
    {"image of fill only", asBoard22, {"--yes"}, aOnlyFill, "", 4,
     "Uploading error - No records transferred.\n", ""},
    {"unknown reply, ended as Stop", {"--target", "22", "--fault", "3:lowercase"}, {"--yes"},
     aRecords, "", 3, "Upload terminated. - 1 records transfered.\n", ""},
    {"no target byte within --wait", {"--target", "22", "--delay", "60000"},
     {"--yes", "--wait", "1"}, aRecords, "", 3, aDeclined, "no target byte within 1 s"},
    {"Ctrl+C in the data phase", {"--target", "22", "--fault", "3:slow:1500"}, {"--yes"},
     aRecords, "", 6, "Upload terminated. - 1 records transfered.\n", "", SIGINT},
    {"the terminal hung up in the data phase", {"--target", "22", "--fault", "3:slow:1500"},
     {"--yes"}, aRecords, "", 6, "Upload terminated. - 1 records transfered.\n", "", SIGHUP},
};
// clang-format on

QByteArray ReadAll(const QString& sPath) {
    QFile oFile(sPath);
    return oFile.open(QIODevice::ReadOnly) ? oFile.readAll() : QByteArray();
}

} // namespace

class tst_cliUpload : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;

    // The board simulator on sLink, ready for the program.
    static void StartBoard(QProcess& oBoard, const QString& sLink, const QStringList& asOptions) {
        // A link left by the last row's board would pass for the new one.
        QFile::remove(sLink);
        oBoard.start(TESSIVAR_BOARDSIM,
                     asOptions + QStringList{"--link", sLink, "--linger", "100"});
        QTRY_VERIFY(QFileInfo(sLink).isSymLink());
    }

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
            while (!aOut.contains("Uploading data records") && oCli.waitForReadyRead(10'000)) {
                aOut += oCli.readAllStandardOutput();
            }
            // Long enough for the terminal's progress, had it been drawn.
            QThread::msleep(600);
            // A program already gone has no id, and kill(0) would strike us.
            if (oCli.processId() > 0) {
                ::kill(pid_t(oCli.processId()), iSignal);
            }
        }
        if (!oCli.waitForFinished(60'000)) {
            oCli.kill();
            oCli.waitForFinished();
        }
        return {oCli.exitStatus() == QProcess::NormalExit ? oCli.exitCode() : -2,
                aOut + oCli.readAllStandardOutput(), oCli.readAllStandardError()};
    }

private slots:
    void endsAsTheExitStatusTells_data() { mdlRows::Add(aUploads); }

    void endsAsTheExitStatusTells() {
        QFETCH(UploadRow, oRow);
        const QTemporaryDir oDir;
        mdlTestFiles::Write(QDir(oDir.path()), "unit.cmd", aCommands);
        const QString sFile = mdlTestFiles::Write(QDir(oDir.path()), "unit.s19", oRow.aRecords);
        const QString sLink = oDir.filePath("port");
        QProcess oBoard;
        StartBoard(oBoard, sLink, oRow.asBoard);
        const mdlCli::Outcome oRun =
            Upload(oRow.asUpload + QStringList{"--port", sLink, sFile}, oRow.aStdin, oRow.iSignal);
        oBoard.terminate();
        QVERIFY(oBoard.waitForFinished());
        QVERIFY2(oRun.aOut.endsWith(oRow.aOutEnd), oRun.aOut.constData());
        QVERIFY2(oRun.aErr.contains(oRow.aErr), oRun.aErr.constData());
        QCOMPARE(oRun.iExitCode, oRow.iExit);
        QVERIFY(oRun.aOut.contains("\n" + sLink.toUtf8() + " opened\n"));
        // A pipe gets the log alone, without the terminal's progress.
        QVERIFY(!oRun.aOut.contains('\x1B') && !oRun.aOut.contains("records,"));
    }

    // Streams closed by the caller take none of the files the upload opens:
    // its log written there stopped the upload.
    void closedStandardStreams() {
        const QTemporaryDir oDir;
        mdlTestFiles::Write(QDir(oDir.path()), "unit.cmd", aCommands);
        const QString sFile = mdlTestFiles::Write(QDir(oDir.path()), "unit.s19", aRecords);
        const QString sLink = oDir.filePath("port");
        QProcess oBoard;
        StartBoard(oBoard, sLink, asBoard22 + QStringList{"--summary", oDir.filePath("sum")});
        QProcess oCli;
        oCli.setChildProcessModifier([] {
            for (int iStream = STDIN_FILENO; iStream <= STDERR_FILENO; ++iStream) {
                ::close(iStream);
            }
        });
        oCli.start(TESSIVAR_CLI, {"upload", "--yes", "--port", sLink, sFile});
        QVERIFY(oCli.waitForFinished(60'000));
        oBoard.terminate();
        QVERIFY(oBoard.waitForFinished());
        // The log is lost, and the exit status says so.
        QCOMPARE(oCli.exitCode(), 7);
        QVERIFY(ReadAll(oDir.filePath("sum")).contains("\"terminate_seen\":true"));
    }

    // Without --port the stored port number and the device bound to it;
    // the upload stores nothing.
    void storedPortAndItsDevice() {
        const QTemporaryDir oDir;
        mdlTestFiles::Write(QDir(oDir.path()), "unit.cmd", aCommands);
        const QString sFile = mdlTestFiles::Write(QDir(oDir.path()), "unit.s19", aRecords);
        const QString sLink = oDir.filePath("port");
        // Settings with the binding alone, whatever the uploads before left.
        const QString sSettings = oHome.Path() + "/config/Quellis/Tessivar.ini";
        QFile::remove(sSettings);
        QCOMPARE(mdlCli::Run({"ports", "--bind", "1", sLink}).iExitCode, 0);
        const QByteArray aSettings = ReadAll(sSettings);
        QProcess oBoard;
        StartBoard(oBoard, sLink, asBoard22);
        const mdlCli::Outcome oRun = Upload({"--yes", sFile}, {}, 0);
        QVERIFY(oBoard.waitForFinished());
        QVERIFY2(oRun.iExitCode == 0, (oRun.aOut + oRun.aErr).constData());
        QVERIFY2(oRun.aOut.contains("\nCOM1 opened\n"), oRun.aOut.constData());
        QCOMPARE(ReadAll(sSettings), aSettings);
    }
};

QTEST_GUILESS_MAIN(tst_cliUpload)
#include "tst_cliUpload.moc"
