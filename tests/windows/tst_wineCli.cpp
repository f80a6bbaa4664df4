#include "records/clsBoardTarget.h"
#include "tests/support/mdlBoardSim.h"
#include "tests/support/mdlCli.h"
#include "tests/support/mdlExternalTools.h"
#include "tests/support/mdlRows.h"
#include "tests/support/mdlTestFiles.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>

// tessivar-cli.exe under Wine against the board simulator on a pseudo-terminal
// that Wine knows as COM5, beside the Linux tessivar-cli against the same
// board: both end alike, and a board that took the whole upload holds the
// application file's bytes as srec_cat reads them.
namespace {

struct WineRow {
    const char* sName;
    int iTarget;
    QStringList asBoard; // the simulator's faults
    bool bWhole;         // the board holds the whole application at the end
    // Why Wine ends it otherwise than Windows would; the row then fails as
    // expected, and passing would fail it.
    const char* sUnlikeWindows = nullptr;
};

// clang-format off
const WineRow aUploads[] = {
    {"id 18", 18, {}, true},
    {"id 19", 19, {}, true},
    {"id 20", 20, {}, true},
    {"id 21", 21, {}, true},
    {"id 22", 22, {}, true},
    {"id 23, refused before the port opens", 23, {}, false},
    {"id 24", 24, {}, true},
    {"a resend", 22, {"--fault", "4:resend"}, true},
    {"a programming error", 22, {"--fault", "2:program-error"}, false},
    {"silence, ended by the 2000 ms time-out", 22, {"--fault", "4:silence"}, false},
    {"a hang-up of the line", 22, {"--fault", "3:hangup"}, false,
     "Wine keeps reading a pseudo-terminal that hung up, so the upload ends by its time-out, "
     "not as 8020"},
    {"a wrong target byte", 22, {"--announce", "23"}, false},
};
// clang-format on

// What both programs say of a board, the port's name left out.
struct Ending {
    int iExit;
    QByteArray aLastLine;
    QByteArray aErrorNumber;
};

QByteArray LastLine(const QByteArray& aOut) {
    const QList<QByteArray> aLines = aOut.trimmed().split('\n');
    return aLines.last().trimmed();
}

} // namespace

class tst_wineCli : public QObject {
    Q_OBJECT

    QTemporaryDir oDir;
    QProcess oBoard;
    const QString sPrefix =
        QStringLiteral("tst_wineCli-%1").arg(QCoreApplication::applicationPid());

    // 3 KiB of data from 0x100 for iTarget, sectors 1 and 2 erased.
    QString WriteUnit(int iTarget) {
        QByteArray aBlob(3072, '\0');
        QRandomGenerator(uint(iTarget))
            .fillRange(reinterpret_cast<quint32*>(aBlob.data()), aBlob.size() / 4);
        const QDir oFiles(oDir.path());
        const clsBoardTarget& oTarget = clsBoardTarget::For(quint8(iTarget));
        mdlTestFiles::Write(oFiles, "unit.cmd",
                            QByteArray::number(iTarget, 16) +
                                "\r\nFF\r\n0,0,FF,R\r\n1,0,7FF,E\r\n2,800,FFF,E\r\n");
        return mdlTestFiles::Write(
            oFiles, "unit.s19",
            mdlExternalTools::Run("srec_cat",
                                  {mdlTestFiles::Write(oFiles, "blob.bin", aBlob), "-binary",
                                   "-offset", "0x100", "-o", "-",
                                   QStringLiteral("-address-length=%1").arg(oTarget.iRecType + 1),
                                   QStringLiteral("-output_block_size=%1").arg(oTarget.iMaxData)}));
    }

    // One upload of sUnit by asProgram to the board played with asBoard.
    Ending Upload(const QStringList& asProgram, const WineRow& oRow, const QString& sUnit,
                  const QString& sPort) {
        const QString sLink = oDir.filePath("board");
        const bool bStarted =
            mdlBoardSim::Start(oBoard, sLink,
                               QStringList{"--target", QString::number(oRow.iTarget), "--delay",
                                           "300", "--flash", oDir.filePath("flash.bin")} +
                                   oRow.asBoard);
        if (!bStarted) {
            return {-3, "the board simulator made no link", {}};
        }
        const mdlCli::Outcome oRun = mdlCli::RunProgram(
            asProgram.first(),
            asProgram.mid(1) + QStringList{"upload", "--yes", "--port", sPort, sUnit});
        if (!oBoard.waitForFinished(5000)) {
            oBoard.terminate();
            oBoard.waitForFinished();
        }
        const qsizetype lNumber = oRun.aErr.indexOf("Error Number: ");
        return {oRun.iExitCode,
                LastLine(oRun.aOut).replace(sLink.toUtf8(), "PORT").replace("COM5", "PORT"),
                lNumber < 0 ? QByteArray() : oRun.aErr.mid(lNumber, 18)};
    }

private slots:
    void initTestCase() {
        qputenv("WINE_TEST_PREFIX", sPrefix.toUtf8());
        qputenv("WINE_SERIAL_PORTS", "COM5=" + QFile::encodeName(oDir.filePath("board")));
    }

    void cleanupTestCase() { QDir(TESSIVAR_WINE_ROOT "/" + sPrefix).removeRecursively(); }

    void endsAsOnLinux_data() { mdlRows::Add(aUploads); }

    void endsAsOnLinux() {
        QFETCH(WineRow, oRow);
        const QString sUnit = WriteUnit(oRow.iTarget);
        const Ending oLinux =
            Upload({QStringLiteral(TESSIVAR_CLI)}, oRow, sUnit, oDir.filePath("board"));
        const Ending oWindows =
            Upload({QStringLiteral(TESSIVAR_WINE_RUN), QStringLiteral(TESSIVAR_WINDOWS_CLI)}, oRow,
                   sUnit, "5");
        QCOMPARE(oWindows.aLastLine, oLinux.aLastLine);
        if (oRow.sUnlikeWindows != nullptr) {
            QEXPECT_FAIL("", oRow.sUnlikeWindows, Abort);
        }
        QCOMPARE(oWindows.aErrorNumber, oLinux.aErrorNumber);
        QCOMPARE(oWindows.iExit, oLinux.iExit);
        if (oRow.bWhole) {
            const QByteArray aFlash = mdlTestFiles::Read(oDir.filePath("flash.bin"));
            QByteArray aExpected = mdlExternalTools::Run(
                "srec_cat", {sUnit, "-fill", "0xFF", "0", QString::number(aFlash.size()), "-o", "-",
                             "-binary"});
            QCOMPARE(aFlash.size(), aExpected.size());
            QVERIFY(aFlash == aExpected);
        }
    }
};

QTEST_GUILESS_MAIN(tst_wineCli)
#include "tst_wineCli.moc"
