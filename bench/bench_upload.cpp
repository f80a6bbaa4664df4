#include "engine/clsApplication.h"
#include "engine/clsUploadSequence.h"
#include "tests/support/clsUploadingHost.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>

namespace {

QString gsBoardSim;
QString gsRecords;

double Percentile(QList<qint64> alNanoseconds, int iPercent) {
    std::sort(alNanoseconds.begin(), alNanoseconds.end());
    const qsizetype lAt = (alNanoseconds.size() - 1) * iPercent / 100;
    return alNanoseconds.isEmpty() ? 0 : double(alNanoseconds.at(lAt)) / 1000.0;
}

// A whole upload to the board simulator, unpaced. The host's turnaround is
// the time from the reply's delivery to the handler's return, by which the
// next line has been handed to the port: one slot connected before the
// upload's own and one after it, as signals call them in that order.
void UploadTurnaround(benchmark::State& oState) {
    for (auto _ : oState) {
        const QTemporaryDir oDir;
        const QString sLink = oDir.filePath("board");
        QProcess oBoard;
        oBoard.start(gsBoardSim, {"--target", "21", "--link", sLink, "--delay", "100", "--summary",
                                  oDir.filePath("summary.json")});
        while (!QFileInfo::exists(sLink)) {
            QThread::msleep(5);
        }
        clsUploadingHost oHost;
        oHost.asDevices = QStringList{sLink};
        clsApplication oApp(oHost);
        QElapsedTimer oClock;
        QList<qint64> alTurnarounds;
        clsSerialControl& oPort = oHost.SerialPort();
        QObject::connect(&oPort, &clsSerialControl::OnComm, [&] { oClock.start(); });
        clsUploadSequence oSequence(oApp);
        QObject::connect(&oPort, &clsSerialControl::OnComm,
                         [&] { alTurnarounds << oClock.nsecsElapsed(); });
        QEventLoop oLoop;
        QObject::connect(&oSequence, &clsUploadSequence::Ended, &oLoop, &QEventLoop::quit);
        QObject::connect(&oHost.oReplyTimer, &QTimer::timeout, &oSequence,
                         &clsUploadSequence::ReplyTimedOut);
        if (oSequence.Run(gsRecords)) {
            oState.SkipWithError("the upload could not start");
            return;
        }
        oLoop.exec();
        // The control lets go of the device on the loop's next pass; only
        // then does the board see the port closed and end.
        QCoreApplication::processEvents();
        oBoard.waitForFinished();
        oState.counters["records"] = oApp.RecordCount();
        oState.counters["host_median_us"] = Percentile(alTurnarounds, 50);
        oState.counters["host_p99_us"] = Percentile(alTurnarounds, 99);
        // The simulator's side of the same loop.
        QFile oSummary(oDir.filePath("summary.json"));
        if (oSummary.open(QIODevice::ReadOnly)) {
            std::printf("board: %s\n", oSummary.readAll().trimmed().constData());
        }
    }
}

} // namespace

// Usage: bench_upload TESSIVAR-BOARDSIM ID21.s37 [benchmark options]
int main(int argc, char* argv[]) {
    benchmark::Initialize(&argc, argv);
    if (argc != 3) {
        std::fputs("usage: bench_upload TESSIVAR-BOARDSIM ID21.s37 [benchmark options]\n", stderr);
        return 2;
    }
    const QCoreApplication oQtApplication(argc, argv);
    const QTemporaryDir oHome;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(oHome.path()));
    gsBoardSim = QString::fromLocal8Bit(argv[1]);
    gsRecords = QString::fromLocal8Bit(argv[2]);
    benchmark::RegisterBenchmark("UploadId21Unpaced", UploadTurnaround)
        ->Iterations(1)
        ->Unit(benchmark::kSecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
