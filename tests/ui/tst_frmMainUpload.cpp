#include "engine/clsApplication.h"
#include "engine/clsUploadLedger.h"
#include "engine/mdlComms.h"
#include "platform/clsPortBindings.h"
#include "tests/support/clsBoxAnswerer.h"
#include "tests/support/mdlRows.h"
#include "tests/support/mdlTestFiles.h"
#include "ui/frmMain.h"
#include "ui/frmPressMsg.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// Uploads in the window to the board simulator on a pseudo-terminal bound
// to port 1, clicked through as a technician would.
namespace {

struct UploadRow {
    const char* sName;
    QStringList asBoard; // the simulator's faults and options
    bool bConfirm;
    bool bStop; // Stop while the board has not announced itself
    QStringList asLastLines;
    QString sErrorBox = {}; // the box that ends the upload, if one does
};

// clang-format off
const UploadRow aUploads[] = {
    {"stopped before the board answers", {"--delay", "60000"}, true, true,
     {"COM1 closed", "Upload terminated. - 0 records transfered."}},
    {"silence after the second record", {"--fault", "3:silence"}, true, false,
     {"No response from board.", "Upload terminated. - 2 records transferred.", "COM1 closed"}},
    {"wrong target", {"--announce", "19"}, true, false,
     {"Command file closed",
      "Application not designed for this target board. - Upload terminated."},
     "Error Number: 2005\r\nApplication not designed for this target board."},
    {"warning declined", {}, false, false,
     {"COM1 closed", "Upload terminated. - 0 records transfered."}},
};
// clang-format on

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

} // namespace

class tst_frmMainUpload : public QObject {
    Q_OBJECT

    QTemporaryDir oDir;
    QString sUnit;
    QProcess oBoard;
    frmMain* oWindow = nullptr;
    std::optional<clsApplication> oApp;
    std::optional<clsBoxAnswerer> oAnswerer;

    QPushButton* Button(const char* sName) {
        return oWindow->findChild<QPushButton*>(QLatin1String(sName));
    }

    void StartBoard(const QStringList& asOptions) {
        const QString sLink = oDir.filePath("board");
        // A link left by the last row's board would pass for the new one.
        QFile::remove(sLink);
        oBoard.start(QStringLiteral(TESSIVAR_BOARDSIM),
                     QStringList{"--link", sLink, "--target", "18", "--delay", "50"} + asOptions);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(sLink), 5000);
    }

    // Chooses the unit, runs it and waits until the upload is over.
    void Upload(bool bStop) {
        oWindow->findChild<QLineEdit*>("txtAppFilePath")->setText(sUnit);
        QTest::keyClick(oWindow->findChild<QLineEdit*>("txtAppFilePath"), Qt::Key_Return);
        Button("cmdRunStop")->click();
        QCOMPARE(Button("cmdRunStop")->text(), "&Stop");
        QVERIFY(oWindow->findChild<frmPressMsg*>()->isVisible());
        if (bStop) {
            Button("cmdRunStop")->click();
        }
        QTRY_VERIFY_WITH_TIMEOUT(Button("cmdReset")->isEnabled(), 20'000);
        QCOMPARE(Button("cmdRunStop")->text(), "&Run");
        QVERIFY(!Button("cmdRunStop")->isEnabled());
        QVERIFY(Button("cmdBrowse")->isEnabled());
        QTRY_VERIFY(oWindow->findChild<frmPressMsg*>() == nullptr);
    }

private slots:
    void initTestCase() {
        clsPortBindings oBindings(mdlComms::CommsKeyPath());
        oBindings.Load();
        QVERIFY(oBindings.Bind(1, oDir.filePath("board")));
        QVERIFY(oBindings.Store());
        const QDir oFiles(oDir.path());
        mdlTestFiles::Write(oFiles, "unit.cmd", "12\r\nFF\r\n0,0,FF,R\r\n1,0,7FF,E\r\n");
        QByteArray aRecords;
        for (const char* sBody : {"S10B0100", "S10B0108", "S10B0200"}) {
            aRecords +=
                mdlTestFiles::WithCheckSum(QString(sBody) + "0102030405060708").toLatin1() + "\r\n";
        }
        sUnit = mdlTestFiles::Write(oFiles, "unit.s19", aRecords);
    }

    void init() {
        oWindow = new frmMain;
        oApp.emplace(*oWindow);
        oApp->Reset();
        oWindow->Attach(*oApp);
        oWindow->show();
        oAnswerer.emplace();
    }

    void cleanup() {
        delete oWindow;
        oApp.reset();
        oAnswerer.reset();
        oBoard.kill();
        oBoard.waitForFinished();
    }

    void wholeUpload() {
        QFile::remove(clsUploadLedger::FilePath());
        StartBoard({});
        Upload(false);
        QCOMPARE(oWindow->StatusText().split("\r\n"), asWholeUpload);
        QCOMPARE(oAnswerer->aBoxes.size(), 1);
        QCOMPARE(oAnswerer->aBoxes.first().sText,
                 "WARNING: Uploading records may overwrite existing data.\r\n"
                 "Select OK to continue download, CANCEL to abort.");
        QCOMPARE(oAnswerer->aBoxes.first().iButtons, QMessageBox::Ok | QMessageBox::Cancel);
        QFile oLedger(clsUploadLedger::FilePath());
        QVERIFY(oLedger.open(QIODevice::ReadOnly));
        const QByteArray aLast = oLedger.readAll().trimmed().split('\n').last();
        QCOMPARE(QJsonDocument::fromJson(aLast)["result"].toString(), "complete");
    }

    void endings_data() { mdlRows::Add(aUploads); }

    void endings() {
        QFETCH(UploadRow, oRow);
        StartBoard(oRow.asBoard);
        oAnswerer->bConfirm = oRow.bConfirm;
        Upload(oRow.bStop);
        const QStringList asLog = oWindow->StatusText().split("\r\n");
        QCOMPARE(asLog.mid(asLog.size() - oRow.asLastLines.size()), oRow.asLastLines);
        const auto& aBoxes = oAnswerer->aBoxes;
        const bool bErrorBox = !aBoxes.isEmpty() && aBoxes.last().sCaption == "FATAL ERROR";
        QCOMPARE(bErrorBox ? aBoxes.last().sText : QString(), oRow.sErrorBox);
        if (bErrorBox) {
            QCOMPARE(aBoxes.last().iButtons, QMessageBox::Ok | QMessageBox::Help);
        }
    }
};

QTEST_MAIN(tst_frmMainUpload)
#include "tst_frmMainUpload.moc"
