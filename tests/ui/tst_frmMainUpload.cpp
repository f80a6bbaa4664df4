#include "engine/mdlComms.h"
#include "platform/clsPortBindings.h"
#include "platform/mdlDataPaths.h"
#include "tests/support/clsBoxAnswerer.h"
#include "tests/support/clsPrivateHome.h"
#include "tests/support/clsStartedWindow.h"
#include "tests/support/mdlRows.h"
#include "tests/support/mdlTestFiles.h"
#include "ui/frmPressMsg.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// Uploads in the window to the board simulator on a pseudo-terminal bound
// to port 1, clicked through as a technician would.
namespace {

// What the log shows of a whole upload of the unit below.
const QStringList asWholeUpload = {
    "Application file opened",
    "Command file opened",
    "Target ID: 18",
    "Initializing memory image . .",
    "Memory image initialized",
    "Reading 'S' records",
    "Flash image created",
    "COM1 opened",
    "Target board is ready to receive.",
    "Erasing sectors .",
    "Uploading data records",
    "COM1 closed",
    "Upload Complete - 3 records transferred.",
};

const QString sWarning = "WARNING: Uploading records may overwrite existing data.\r\n"
                         "Select OK to continue download, CANCEL to abort.";
const QString sStopped = "Upload terminated. - 0 records transfered.";

// How an upload is cut short: by the technician while the board is silent,
// or by the board's line failing while the warning is open.
enum class eCut { None, Stop, LineGone };

struct UploadRow {
    const char* sName;
    QStringList asBoard; // the simulator's faults and options
    bool bConfirm;
    eCut iCut;
    QStringList asLastLines;
    QStringList asBoxes; // the text of each box shown, in turn
    QString sResult;     // as the ledger records it
    QString sBarEnd;     // the status bar's words at the end; N for the seconds
    // Stop waits for the status bar's progress to read this.
    QString sStopAtBar = {};
};

const QString sIncomplete =
    "The board holds an incomplete application: upload it again before use.";

// clang-format off
const UploadRow aUploads[] = {
    {"whole upload", {}, true, eCut::None, asWholeUpload, {sWarning}, "complete",
     "Upload took N s; image checksum 0x7B."},
    // Of the long unit: the board silent on its 61st record.
    {"stopped amid the records", {"--fault", "62:silence"}, true, eCut::Stop,
     {"Upload terminated. - 61 records transfered."}, {sWarning}, "stopped", sIncomplete,
     "61/120 records, 51%, 1 s left"},
    {"silence after the second record", {"--fault", "3:silence"}, true, eCut::None,
     {"No response from board.", "Upload terminated. - 2 records transferred.", "COM1 closed"},
     {sWarning}, "timed out", sIncomplete},
    {"wrong target", {"--announce", "19"}, true, eCut::None,
     {"Command file closed",
      "Application not designed for this target board. - Upload terminated."},
     {"Error Number: 2005\r\nApplication not designed for this target board."}, "board failed",
     ""},
    {"line gone while the warning is open", {}, true, eCut::LineGone, {"COM1 closed"},
     {sWarning, "Error Number: 8020\r\nCOM1 (DIR/board): reading or writing failed, and the port "
                "was closed. Check the cable and the adapter (a USB adapter may have been "
                "unplugged), then try again."}, "link failed", ""},
    {"warning declined", {}, false, eCut::None, {"COM1 closed", sStopped}, {sWarning}, "declined",
     ""},
};
// clang-format on

} // namespace

class tst_frmMainUpload : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;
    QTemporaryDir oDir;
    QString sUnit;
    // 120 records: 2.6 s on the line.
    QString sLongUnit;
    QProcess oBoard;
    std::optional<clsStartedWindow> oUnit;
    std::optional<clsBoxAnswerer> oAnswerer;

    // The failure's box opens while the warning's answerer waits: an
    // answerer of its own takes it. No answer of the warning is awaited.
    void CutTheLineAtTheWarning() {
        oAnswerer->oWhileOpen = [this](QMessageBox& oBox) {
            clsBoxAnswerer oInner;
            oBoard.kill();
            QTRY_VERIFY(!oBox.isVisible());
            oAnswerer->aBoxes += oInner.aBoxes;
        };
    }

    // An id-18 application of eight bytes a record from 0x100, and its
    // command file.
    QString WriteUnit(const QString& sName, int iRecords) {
        QByteArray aRecords;
        for (int iRecord = 0; iRecord < iRecords; ++iRecord) {
            const QString sAddress =
                QStringLiteral("%1").arg(0x100 + iRecord * 8, 4, 16, QLatin1Char('0')).toUpper();
            aRecords +=
                mdlTestFiles::WithCheckSum("S10B" + sAddress + "0102030405060708").toLatin1() +
                "\r\n";
        }
        const QDir oFiles(oDir.path());
        mdlTestFiles::Write(oFiles, sName + ".cmd", "12\r\nFF\r\n0,0,FF,R\r\n1,0,7FF,E\r\n");
        return mdlTestFiles::Write(oFiles, sName + ".s19", aRecords);
    }

private slots:
    void initTestCase() {
        clsPortBindings oBindings(mdlComms::CommsKeyPath());
        oBindings.Load();
        QVERIFY(oBindings.Bind(1, oDir.filePath("board")) && oBindings.Store());
        sUnit = WriteUnit("unit", 3);
        sLongUnit = WriteUnit("long", 120);
    }

    void cleanup() {
        oUnit.reset();
        oAnswerer.reset();
        oBoard.kill();
        oBoard.waitForFinished();
    }

    void uploads_data() { mdlRows::Add(aUploads); }

    // The unit chosen and run; the window as it was once the upload is over.
    void uploads() {
        QFETCH(UploadRow, oRow);
        QFile::remove(mdlDataPaths::LedgerFile());
        // A link left by the last row's board would pass for the new one.
        const QString sLink = oDir.filePath("board");
        QFile::remove(sLink);
        oBoard.start(QStringLiteral(TESSIVAR_BOARDSIM),
                     QStringList{"--link", sLink, "--target", "18"} + oRow.asBoard);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(sLink), 5000);
        oUnit.emplace();
        oAnswerer.emplace();
        oAnswerer->bConfirm = oRow.bConfirm;
        if (oRow.iCut == eCut::LineGone) {
            CutTheLineAtTheWarning();
        }
        oUnit->Type(oRow.sStopAtBar.isEmpty() ? sUnit : sLongUnit, true);
        oUnit->Button("cmdRunStop")->click();
        QCOMPARE(oUnit->Button("cmdRunStop")->text(), "&Stop");
        QVERIFY(oUnit->oWindow.findChild<frmPressMsg*>()->isVisible());
        if (oRow.iCut == eCut::Stop) {
            QTRY_COMPARE_WITH_TIMEOUT(oUnit->Find<QProgressBar>("prgUpload")->text(),
                                      oRow.sStopAtBar, 10'000);
            oUnit->Button("cmdRunStop")->click();
        }
        QTRY_VERIFY_WITH_TIMEOUT(oUnit->Button("cmdReset")->isEnabled(), 20'000);
        QCOMPARE(oUnit->Button("cmdRunStop")->text(), "&Run");
        QVERIFY(!oUnit->Button("cmdRunStop")->isEnabled() &&
                oUnit->Button("cmdBrowse")->isEnabled());
        QTRY_VERIFY(oUnit->oWindow.findChild<frmPressMsg*>() == nullptr);
        const QStringList asLog = oUnit->Log().split('\n');
        QCOMPARE(asLog.mid(asLog.size() - oRow.asLastLines.size()), oRow.asLastLines);
        QStringList asBoxes;
        for (const clsBoxAnswerer::Box& oBox : oAnswerer->aBoxes) {
            asBoxes << QString(oBox.sText).replace(oDir.path(), "DIR");
            // The warning can be declined; an error box offers its help,
            // unless the line failed, which the help does not foresee.
            const auto iOther = oBox.sText == sWarning        ? QMessageBox::Cancel
                                : oBox.sText.contains("8020") ? QMessageBox::NoButton
                                                              : QMessageBox::Help;
            QCOMPARE(oBox.iButtons, QMessageBox::Ok | iOther);
        }
        QCOMPARE(asBoxes, oRow.asBoxes);
        QVERIFY(!oUnit->Find<QProgressBar>("prgUpload")->isVisible());
        QCOMPARE(oUnit->Find<QLabel>("lblUploadEnd")
                     ->text()
                     .replace(QRegularExpression("\\d+ s;"), "N s;"),
                 oRow.sBarEnd);
        const QByteArray aLedger = mdlTestFiles::Read(mdlDataPaths::LedgerFile()).trimmed();
        QCOMPARE(QJsonDocument::fromJson(aLedger.split('\n').last())["result"].toString(),
                 oRow.sResult);
    }
};

QTEST_MAIN(tst_frmMainUpload)
#include "tst_frmMainUpload.moc"
