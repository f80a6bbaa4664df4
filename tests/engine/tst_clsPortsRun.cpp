#include "engine/clsPortsRun.h"
#include "tests/support/mdlRows.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <csignal>

// The several-ports run with a child of the test's own on each port
// (tests/engine/portsRunChild.cpp says what its steps do): how each port
// and the run end, the lines as they come, Stop passed on.
namespace {

struct PortRow {
    QStringList asSteps;
    int iStatus;
    const char* sResult; // how it starts
    // "out:" or "err:" and the line, parted by "|", standard output's first.
    const char* sLines;
};

struct RunRow {
    const char* sName;
    QList<PortRow> aPorts;
    int iStops; // each sent once every running port waits for it
    int iStatus;
    bool bProgram = true; // false: a program that does not exist
};

constexpr int iFailed = 3;

// clang-format off
const RunRow aRuns[] = {
    {"all ended alike: their status, the last line of output their result",
     {{{"out=Boards: 2 good", "exit=6"}, 6, "Boards: 2 good", "out:Boards: 2 good"},
      {{"out=done", "out= ", "err=oops", "exit=6"}, 6, "done", "out:done|out: |err:oops"}},
     0, 6},
    {"ended unlike: a board's failure",
     {{{}, 0, "", ""}, {{"exit=4"}, 4, "", ""}}, 0, iFailed},
    {"a crash fails its port alone",
     {{{"out=going", "crash"}, iFailed, "crashed or was killed; its last line: going",
       "out:going"},
      {{"await=DIR/go", "out=after"}, 0, "after", "out:waiting|out:after"}},
     0, iFailed},
    {"a Stop reaches every port once for each asked",
     {{{"stop", "stop", "exit=6"}, 6, "stopped 2",
       "out:waiting|out:stopped 1|out:waiting|out:stopped 2"},
      {{"stop", "stop", "exit=6"}, 6, "stopped 2",
       "out:waiting|out:stopped 1|out:waiting|out:stopped 2"}},
     2, 6},
    {"a child that cannot start",
     {{{}, iFailed, "could not start: ", ""}, {{}, iFailed, "could not start: ", ""}},
     0, iFailed, false},
};
// clang-format on

const QString sImage = QStringLiteral("the board's image");

// sDir stands for DIR in the steps.
clsPortsRun::Launch LaunchOf(const RunRow& oRow, const QString& sDir) {
    clsPortsRun::Launch oLaunch{.sProgram = QCoreApplication::applicationDirPath() + "/" +
                                            (oRow.bProgram ? PORTS_RUN_CHILD : "no-such-program"),
                                .asToImage = {sImage},
                                .aPortArguments = {},
                                .iFailed = iFailed};
    for (const PortRow& oPort : oRow.aPorts) {
        oLaunch.aPortArguments.append(QStringList(oPort.asSteps).replaceInStrings("DIR", sDir));
    }
    return oLaunch;
}

} // namespace

class tst_clsPortsRun : public QObject {
    Q_OBJECT

private slots:
    void eachPortRunsToItsEnd_data() { mdlRows::Add(aRuns); }

    void eachPortRunsToItsEnd() {
        QFETCH(RunRow, oRow);
        const QTemporaryDir oDir;
        clsPortsRun oRun(LaunchOf(oRow, oDir.path()));
        const qsizetype lPorts = oRow.aPorts.size();
        QList<QStringList> aLines(lPorts);
        QList<int> aiStatus(lPorts, -1);
        QStringList asResults(lPorts);
        connect(&oRun, &clsPortsRun::LineCame,
                [&](qsizetype lPort, QString sLine, QProcess::ProcessChannel iStream) {
                    // A Windows child's text-mode streams end lines with CR LF.
                    if (sLine.endsWith('\r')) {
                        sLine.chop(1);
                    }
                    aLines[lPort].append((iStream == QProcess::StandardError ? "err:" : "out:") +
                                         sLine);
                });
        connect(&oRun, &clsPortsRun::PortEnded,
                [&](qsizetype lPort, int iStatus, const QString& sResult, qint64) {
                    aiStatus[lPort] = iStatus;
                    asResults[lPort] = sResult;
                });
        const QSignalSpy oEnded(&oRun, &clsPortsRun::Ended);
        QVERIFY(oRun.Start(sImage.toUtf8()));
        for (int iRound = 1; iRound <= oRow.iStops + 1; ++iRound) {
            const auto bAllWait = [&] {
                for (qsizetype lPort = 0; lPort < lPorts; ++lPort) {
                    if (aiStatus[lPort] < 0 && aLines[lPort].count("out:waiting") < iRound) {
                        return false;
                    }
                }
                return true;
            };
            QTRY_VERIFY(bAllWait());
            if (iRound <= oRow.iStops) {
                oRun.Stop(SIGTERM);
            }
        }
        QVERIFY(QFile(oDir.filePath("go")).open(QIODevice::WriteOnly));
        QTRY_COMPARE(oEnded.size(), 1);
        QCOMPARE(oEnded.at(0).at(0).toInt(), oRow.iStatus);
        for (qsizetype lPort = 0; lPort < lPorts; ++lPort) {
            const PortRow& oPort = oRow.aPorts.at(lPort);
            // Each stream comes through a pipe of its own: only the order
            // within each is the child's.
            std::stable_partition(aLines[lPort].begin(), aLines[lPort].end(),
                                  [](const QString& sLine) { return sLine.startsWith("out:"); });
            QCOMPARE(aLines.at(lPort).join("|"), QString(oPort.sLines));
            QCOMPARE(aiStatus.at(lPort), oPort.iStatus);
            QCOMPARE(asResults.at(lPort).left(qstrlen(oPort.sResult)), QString(oPort.sResult));
        }
    }

    // A face may drop the run while its ports run: they end, and no word of
    // them comes from the half-destroyed run.
    void droppedWhileRunning() {
        auto oRun = std::make_unique<clsPortsRun>(
            LaunchOf({"", {{{"stop"}, 0, "", ""}, {{"stop"}, 0, "", ""}}, 0, 0}, {}));
        qsizetype lWaiting = 0;
        connect(oRun.get(), &clsPortsRun::LineCame, [&lWaiting] { ++lWaiting; });
        const QSignalSpy oEnded(oRun.get(), &clsPortsRun::PortEnded);
        QVERIFY(oRun->Start(sImage.toUtf8()));
        QTRY_COMPARE(lWaiting, 2);
        oRun.reset();
        QCOMPARE(oEnded.size(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_clsPortsRun)
#include "tst_clsPortsRun.moc"
