#include "engine/clsApplication.h"
#include "engine/clsBoardRun.h"
#include "tests/support/clsPrivateHome.h"
#include "tests/support/clsUploadingHost.h"
#include "tests/support/mdlBoardSim.h"
#include "tests/support/mdlRows.h"
#include "tests/support/mdlUnitFiles.h"

#include <QSignalSpy>
#include <QTemporaryDir>

// Production runs through the engine, as any face drives them, to the board
// simulator playing a line of boards on a pseudo-terminal: which boards count
// as good, and when and how the run ends.
namespace {

using eClass = clsBoardRun::eClass;

// When the test asks the run to stop, or tells it the input ended: as a
// board's end is told, or in the pause before the next board.
enum class eWhen { Never, Waiting, During, AfterBoard, InPause };
enum class eAct { Stop, InputEnd, StopTwice, StopTwiceApart };

struct RunRow {
    const char* sName;
    QStringList asBoard; // the simulator's options besides target and link
    eWhen iWhen;
    eAct iAct;
    QList<bool> abGood; // board by board
    eClass iClass;
    // The board the run announced it ends after; 0 for none.
    qint32 lEndsAfter = 0;
    bool bWaitOver = false;
    qint32 lWaitMs = 0;
    bool bFillOnly = false;
    clsBoardRun::ePolicy iPolicy = clsBoardRun::ePolicy::Repeat;
};

const QStringList asSlow = {"--fault", "3:slow:1500"};
// Board 1 announces when told; board 2 never is.
const QStringList asOneAnswers = {"--boards", "2", "--on-enter"};

// clang-format off
const RunRow aRuns[] = {
    {"three boards, the second silent: 2 good, 1 failed",
     {"--boards", "3", "--fault", "2/3:silence"}, eWhen::AfterBoard, eAct::Stop,
     {true, false, true}, eClass::BoardFailed},
    {"a board with no records sent is not good", {}, eWhen::AfterBoard, eAct::Stop, {false},
     eClass::BoardFailed, 0, false, 0, true},
    {"stop before any board", {"--delay", "60000"}, eWhen::Waiting, eAct::Stop, {},
     eClass::Stopped},
    {"two stops within 500 ms are one", asSlow, eWhen::During, eAct::StopTwice, {true},
     eClass::Done, 1},
    {"a second stop 500 ms later abandons the board", asSlow, eWhen::During,
     eAct::StopTwiceApart, {false}, eClass::BoardFailed, 1},
    {"wait runs out with no board", {"--delay", "60000"}, eWhen::Never, eAct::Stop, {},
     eClass::BoardFailed, 0, true, 1000},
    {"wait runs out after a good board", asOneAnswers, eWhen::Never, eAct::Stop, {true},
     eClass::Done, 0, true, 1000},
    {"input ends before any board", {"--delay", "60000"}, eWhen::Waiting, eAct::InputEnd, {},
     eClass::Stopped},
    {"input ends between boards", {"--boards", "2"}, eWhen::InPause, eAct::InputEnd, {true},
     eClass::Done},
    {"input ends during a board", asSlow, eWhen::During, eAct::InputEnd, {true}, eClass::Done, 1},
    {"one board with no records", {}, eWhen::Never, eAct::Stop, {false}, eClass::NoRecords, 0,
     false, 0, true, clsBoardRun::ePolicy::OneBoard},
};
// clang-format on

} // namespace

Q_DECLARE_METATYPE(RunRow)

class tst_clsBoardRun : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;

    static void Act(clsBoardRun& oRun, eAct iAct) {
        if (iAct == eAct::InputEnd) {
            oRun.InputEnded();
            return;
        }
        oRun.StopAsked();
        if (iAct == eAct::StopTwiceApart) {
            QTest::qWait(600);
        }
        if (iAct != eAct::Stop) {
            oRun.StopAsked();
        }
    }

private slots:
    void run_data() { mdlRows::Add(aRuns); }

    void run() {
        QFETCH(RunRow, oRow);
        const QTemporaryDir oDir;
        const QDir oFiles(oDir.path());
        QString sFile = mdlUnitFiles::Write(oFiles);
        if (oRow.bFillOnly) {
            sFile = mdlTestFiles::Write(oFiles, "unit.s19",
                                        "S10B6000FFFFFFFFFFFFFFFF9C\r\nS9030000FC\r\n");
        }
        QProcess oBoard;
        const QString sLink = oDir.filePath("port");
        QVERIFY(mdlBoardSim::Start(oBoard, sLink, oRow.asBoard + QStringList{"--target", "22"}));
        clsUploadingHost oHost;
        oHost.asDevices = {sLink};
        clsApplication oApp(oHost);
        oApp.CommSettings().SetNumber(1);
        clsUploadSequence oSequence(oApp);
        connect(&oHost.oReplyTimer, &QTimer::timeout, &oSequence,
                &clsUploadSequence::ReplyTimedOut);
        clsBoardRun oRun(oApp, oSequence, oRow.iPolicy, oRow.lWaitMs);
        QList<bool> abGood;
        connect(&oRun, &clsBoardRun::BoardEnded, [&](const clsBoardRun::BoardEnd& oThisBoard) {
            if (oThisBoard.bBoard) {
                abGood.append(oThisBoard.bGood);
            }
            if (abGood.size() != oRow.abGood.size()) {
                return;
            }
            if (oRow.iWhen == eWhen::AfterBoard) {
                Act(oRun, oRow.iAct);
            } else if (oRow.iWhen == eWhen::InPause) {
                QTimer::singleShot(0, &oRun, [&] { Act(oRun, oRow.iAct); });
            }
        });
        QSignalSpy oEndsAfter(&oRun, &clsBoardRun::EndsAfterBoard);
        QSignalSpy oWaitOver(&oRun, &clsBoardRun::WaitOver);
        QSignalSpy oEnded(&oRun, &clsBoardRun::RunEnded);

        QVERIFY(!oRun.Start(sFile));
        if (oRow.asBoard.contains("--on-enter")) {
            oBoard.write("\n");
        }
        if (oRow.iWhen == eWhen::Waiting) {
            Act(oRun, oRow.iAct);
        } else if (oRow.iWhen == eWhen::During) {
            QTRY_VERIFY_WITH_TIMEOUT(oApp.AppState() == clsApplication::Uploading, 10'000);
            Act(oRun, oRow.iAct);
        }
        QTRY_COMPARE_WITH_TIMEOUT(oEnded.size(), 1, 30'000);
        // No further board is awaited once the run ended, while one is there.
        QTest::qWait(1200);
        QCOMPARE(oEnded.size(), 1);
        QVERIFY(!oHost.SerialPort().PortOpen());
        oBoard.kill();
        oBoard.waitForFinished();
        const auto oEnd = oEnded.first().first().value<clsBoardRun::RunEnd>();
        QCOMPARE(abGood, oRow.abGood);
        QCOMPARE(oEnd.iClass, oRow.iClass);
        QCOMPARE(oEnd.lGood, oRow.abGood.count(true));
        QCOMPARE(oEnd.lFailed, oRow.abGood.count(false));
        QCOMPARE(oEnd.bWaitOver, oRow.bWaitOver);
        QCOMPARE(oWaitOver.size(), oRow.bWaitOver ? 1 : 0);
        QCOMPARE(oEndsAfter.isEmpty() ? 0 : oEndsAfter.first().first().toInt(), oRow.lEndsAfter);
    }
};

QTEST_GUILESS_MAIN(tst_clsBoardRun)
#include "tst_clsBoardRun.moc"
