#include "engine/clsApplication.h"
#include "engine/clsUploadSequence.h"
#include "records/clsBoardTarget.h"
#include "tests/support/clsPrivateHome.h"
#include "tests/support/clsUploadingHost.h"
#include "tests/support/mdlExternalTools.h"
#include "tests/support/mdlRows.h"
#include "tests/support/mdlTestFiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

#include <optional>

// Uploads through the engine, as the window drives it, to the board
// simulator on a pseudo-terminal; the simulator's flash is checked against
// srec_cat's reading of the same application file.
namespace {

struct DialogueRow {
    const char* sName;
    int iTarget;
    QStringList asBoard; // the simulator's faults and options, and the test's own
    QString sLastLine;   // the log's last line at the end
    int iBox;            // the number in the error box that ends the upload; 0 for none
    QJsonArray aErased;  // the sectors the board took
    bool bTerminate;
    int iResends = 0; // that the board asked for
    clsUploadSequence::eEnding iEnding = clsUploadSequence::eEnding::Complete;
};

using E = clsUploadSequence::eEnding;

const QByteArray aTwoSectors = "0,0,FF,R\r\n1,0,7FF,E\r\n2,800,FFF,E\r\n";
const QString sComplete = "Upload Complete - %1 records transferred.";
// The box says what the log's last line says before this.
const QString sTerminated = " - Upload terminated.";
const QString sResends = "Maximum number of resends requested." + sTerminated;
const QString sUnknownReply = "Unknown response from board - Upload Terminated - ";
const QString sNothingSent = "Upload terminated. - 0 records transfered.";

// clang-format off
const DialogueRow aDialogues[] = {
    {"id 18, no terminate record", 18, {}, sComplete, 0, {2, 1}, false},
    {"id 19", 19, {}, sComplete, 0, {2, 1}, false},
    {"id 20", 20, {}, sComplete, 0, {2, 1}, false},
    {"id 21, bare terminate record", 21, {}, sComplete, 0, {2, 1}, true},
    {"id 22, answered with 23", 22, {}, sComplete, 0, {2, 1}, true},
    {"id 24, answered with 25", 24, {}, sComplete, 0, {2, 1}, true},
    {"no sectors", 22, {"--no-sectors"}, sComplete, 0, {}, true},
    {"one resend each for two records", 22, {"--fault", "4:resend", "--fault", "5:resend"},
     sComplete, 0, {2, 1}, true, 2},
    {"reply after 1.5 s", 22, {"--fault", "3:slow:1500"}, sComplete, 0, {2, 1}, true},
    {"two resends of one record", 22, {"--fault", "4:resend-always"}, sResends, 2006, {2, 1},
     false, 2, E::BoardFailed},
    {"one resend each for two sectors", 22, {"--fault", "1:resend", "--fault", "2:resend"},
     sResends, 2006, {2}, false, 2, E::BoardFailed},
    {"programming error", 22, {"--fault", "2:program-error"},
     "Flash chip programming error." + sTerminated, 2007, {2}, false, 0, E::BoardFailed},
    {"wrong target byte", 22, {"--announce", "23"},
     "Application not designed for this target board." + sTerminated, 2005, {}, false, 0,
     E::BoardFailed},
    {"warning declined", 22, {"--decline"}, sNothingSent, 0, {}, false, 0, E::Declined},
    {"stopped while the warning is open", 22, {"--stop-while-asking"}, sNothingSent, 0, {}, false,
     0, E::Stopped},
    {"silence", 22, {"--fault", "4:silence"}, "Upload terminated. - 2 records transferred.", 0,
     {2, 1}, false, 0, E::TimedOut},
    {"only fill in the image", 22, {"--fill-only"}, "Uploading error - No records transferred.", 0,
     {2, 1}, true, 0, E::NoRecords},
    {"reply of other characters", 22, {"--fault", "3:garbage"}, sUnknownReply + "S6050000000AF0",
     0, {2, 1}, false, 0, E::UnknownReply},
    {"acknowledge in lower case", 22, {"--fault", "1:lowercase"}, sUnknownReply + "s60500000009f1",
     0, {2}, false, 0, E::UnknownReply},
};
// clang-format on

} // namespace

class tst_BoardDialogue : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;
    QTemporaryDir oDir;
    clsUploadingHost oHost;
    std::optional<clsApplication> oApp;
    std::optional<clsUploadSequence> oSequence;

    QProcess oBoard;

    // The simulator on a link of its own; returns once the link is there.
    void StartBoard(int iTarget, const QStringList& asOptions) {
        const QString sLink = oDir.filePath("board");
        // A link left by the last row's board would pass for the new one.
        QFile::remove(sLink);
        oBoard.start(QStringLiteral(TESSIVAR_BOARDSIM),
                     QStringList{"--link", sLink, "--target", QString::number(iTarget), "--linger",
                                 "300", "--summary", oDir.filePath("summary.json"), "--flash",
                                 oDir.filePath("flash.bin")} +
                         asOptions);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(sLink), 5000);
        oHost.asDevices = QStringList{sLink};
    }

    // A board that never heard an answer waits on; it reports when told to end.
    QJsonObject Summary() {
        // The port's claim is let go on the loop's next turn after its close.
        QCoreApplication::processEvents();
        if (!oBoard.waitForFinished(2000)) {
            oBoard.terminate();
            oBoard.waitForFinished(5000);
        }
        return QJsonDocument::fromJson(mdlTestFiles::Read(oDir.filePath("summary.json"))).object();
    }

    // The application file and its command file: 3 KiB from 0x100, random or
    // fill only, with records of fill only in the middle.
    QString WriteUnit(int iTarget, const QByteArray& aRegions, bool bData) {
        QByteArray aBlob(3072, '\xFF');
        if (bData) {
            QRandomGenerator(uint(iTarget))
                .fillRange(reinterpret_cast<quint32*>(aBlob.data()), aBlob.size() / 4);
        }
        const QDir oFiles(oDir.path());
        const clsBoardTarget& oTarget = clsBoardTarget::For(quint8(iTarget));
        mdlTestFiles::Write(oFiles, "unit.cmd",
                            QByteArray::number(iTarget, 16) + "\r\nFF\r\n" + aRegions);
        return mdlTestFiles::Write(
            oFiles, "unit.s19",
            mdlExternalTools::Run("srec_cat",
                                  {mdlTestFiles::Write(oFiles, "blob.bin", aBlob), "-binary",
                                   "-offset", "0x100", "-exclude", "0x900", "0xA00", "-fill",
                                   "0xFF", "0x900", "0xA00", "-o", "-",
                                   QStringLiteral("-address-length=%1").arg(oTarget.iRecType + 1),
                                   QStringLiteral("-output_block_size=%1").arg(oTarget.iMaxData)}));
    }

private slots:
    void init() {
        QFile::remove(oDir.filePath("summary.json"));
        oSequence.reset();
        oApp.emplace(oHost);
        oHost.Clear();
        oHost.bResetEnabled = false;
        oHost.oWhileAsking = nullptr;
        oSequence.emplace(*oApp);
        connect(&oHost.oReplyTimer, &QTimer::timeout, &*oSequence,
                &clsUploadSequence::ReplyTimedOut);
    }

    void cleanup() {
        oBoard.kill();
        oBoard.waitForFinished();
        oHost.SerialPort().SetPortOpen(false);
    }

    void dialogue_data() { mdlRows::Add(aDialogues); }

    void dialogue() {
        QFETCH(DialogueRow, oRow);
        QStringList asBoard = oRow.asBoard;
        if (asBoard.removeAll("--stop-while-asking") > 0) {
            oHost.oWhileAsking = [this] { oSequence->Stop(); };
        }
        const bool bData = asBoard.removeAll("--fill-only") == 0;
        const QByteArray aRegions = asBoard.removeAll("--no-sectors") > 0 ? "" : aTwoSectors;
        oHost.bConfirm = asBoard.removeAll("--decline") == 0;
        const QString sPath = WriteUnit(oRow.iTarget, aRegions, bData);
        StartBoard(oRow.iTarget, asBoard);
        QSignalSpy oEnded(&*oSequence, &clsUploadSequence::Ended);
        QSignalSpy oFinished(&*oSequence, &clsUploadSequence::Finished);

        QVERIFY(!oSequence->Run(sPath));
        QVERIFY(!oEnded.isEmpty() || oEnded.wait(20'000));
        QCOMPARE(oEnded.size(), 1);
        const qint32 lRecords = oApp->RecordCount();
        QCOMPARE(oEnded.first().at(0).value<E>(), oRow.iEnding);
        QCOMPARE(oEnded.first().at(1).toString(),
                 oRow.iBox == 0 ? QString()
                                : QStringLiteral("Error Number: %1\r\n").arg(oRow.iBox) +
                                      oRow.sLastLine.chopped(sTerminated.size()));
        // The window's reset may report the port closed after it.
        QVERIFY(oHost.Lines()
                    .mid(oHost.Lines().size() - 2)
                    .contains(QString(oRow.sLastLine).replace("%1", QString::number(lRecords))));
        // An unknown reply closes the port and leaves the rest to Stop.
        QVERIFY(!oHost.SerialPort().PortOpen());
        QCOMPARE(oHost.bResetEnabled, oRow.iEnding != E::UnknownReply);
        // Ended once erasing had begun, and short of the end.
        QCOMPARE(oFinished.first().first().value<clsUploadSequence::Outcome>().LeftIncomplete(),
                 !oRow.aErased.isEmpty() && oRow.iEnding != E::Complete &&
                     oRow.iEnding != E::NoRecords);

        const QJsonObject oSummary = Summary();
        // The board's own table of targets decides what is right.
        const bool bAnswered = oRow.sName != QByteArray("wrong target byte");
        QCOMPARE(oSummary["answer_right"].toBool(), bAnswered);
        QCOMPARE(oSummary["baud_right"].toBool(), bAnswered);
        QCOMPARE(oSummary["erase_sectors"].toArray(), oRow.aErased);
        QCOMPARE(oSummary["terminate_seen"].toBool(), oRow.bTerminate);
        QCOMPARE(oSummary["terminate_whole"].toBool(), oRow.bTerminate);
        QCOMPARE(oSummary["bad_lines"].toArray().size(), 0);
        QCOMPARE(oSummary["resend_requests"].toInt(), oRow.iResends);
        if (oRow.sLastLine == sComplete) {
            const clsBoardTarget& oTarget = clsBoardTarget::For(quint8(oRow.iTarget));
            // Records of fill only are never sent.
            QCOMPARE(lRecords, (3072 - 256) / oTarget.iMaxData);
            QCOMPARE(oSummary["data_records"].toInt(), lRecords);
            QVERIFY(mdlTestFiles::Read(oDir.filePath("flash.bin")) ==
                    mdlExternalTools::Run("srec_cat", {sPath, "-fill", "0xFF", "0",
                                                       QString::number(oTarget.lTop + 1), "-o", "-",
                                                       "-binary"}));
        }
    }

    // A dot per 32 records; after the 4096th the dots go on on a line of
    // their own, and only then: a whole id-22 image is 8192 records.
    void dotsOfAWholeImage() {
        QByteArray aRecords;
        for (int iAddress = 0; iAddress < 0x10000; iAddress += 8) {
            aRecords += mdlTestFiles::WithCheckSum(
                            QStringLiteral("S10B%1").arg(iAddress, 4, 16, QLatin1Char('0')) +
                            "0102030405060708")
                            .toLatin1() +
                        "\r\n";
        }
        mdlTestFiles::Write(QDir(oDir.path()), "whole.cmd", "16\r\nFF\r\n1,0,FFFF,E\r\n");
        const QString sPath = mdlTestFiles::Write(QDir(oDir.path()), "whole.s19", aRecords);
        StartBoard(22, {});
        QSignalSpy oEnded(&*oSequence, &clsUploadSequence::Ended);
        QVERIFY(!oSequence->Run(sPath));
        // A real loop: a polling wait would sleep between replies.
        QVERIFY(oEnded.wait(60'000));
        const QString sDots = QStringLiteral(" .").repeated(128);
        QCOMPARE(oHost.Lines().mid(oHost.Lines().size() - 4),
                 (QStringList{"Uploading data records" + sDots, sDots, "COM1 closed",
                              "Upload Complete - 8192 records transferred."}));
    }

    // An upload stopped while the warning is open stays ended when the
    // technician answers OK, even once a new upload waits for its board.
    void runAgainWhileAsking() {
        const QString sPath = WriteUnit(22, aTwoSectors, true);
        StartBoard(22, {});
        oHost.bConfirm = true;
        oHost.oWhileAsking = [&] {
            oSequence->Stop();
            oSequence->Run(sPath);
        };
        QSignalSpy oEnded(&*oSequence, &clsUploadSequence::Ended);
        QVERIFY(!oSequence->Run(sPath));
        QVERIFY(!oEnded.isEmpty() || oEnded.wait(20'000));
        QCOMPARE(oApp->AppState(), qint32(clsApplication::WaitTarget));
        oSequence->Stop();
        QCOMPARE(Summary()["lines"].toInt(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_BoardDialogue)
#include "tst_BoardDialogue.moc"
