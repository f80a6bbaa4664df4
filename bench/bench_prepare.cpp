#include "engine/clsApplication.h"
#include "engine/clsStatusText.h"
#include "engine/clsUploadSummary.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// Keeps the status log as the window would, without a window.
class clsStatusSink : public clsEngineHost {
public:
    void Status(const QString& sStatusLine) override { oText.AppendLine(sStatusLine); }
    void ShowWaitDots() override { oText.AppendWaitDots(); }
    void SetMousePointer(eMousePointer) override {}

private:
    clsStatusText oText;
};

// Preparation as Run does it, from the file name to the built image.
void Prepare(benchmark::State& oState, const QString& sPath) {
    for (auto _ : oState) {
        clsStatusSink oHost;
        clsApplication oApp(oHost);
        oApp.PrepareUpload(sPath);
        benchmark::DoNotOptimize(oApp.FlashImage().ByteAddress());
    }
}

// What inspect does after preparation: the summary's walk of the image.
void Summarise(benchmark::State& oState, const QString& sPath) {
    clsStatusSink oHost;
    clsApplication oApp(oHost);
    oApp.PrepareUpload(sPath);
    for (auto _ : oState) {
        benchmark::DoNotOptimize(clsUploadSummary::Of(oApp).lBytesOnLine);
    }
}

} // namespace

// Usage: bench_prepare ID21.s37 TYPE1.s19 [benchmark options]; each file
// with its .cmd beside it.
int main(int argc, char* argv[]) {
    benchmark::Initialize(&argc, argv);
    if (argc != 3) {
        std::fputs("usage: bench_prepare ID21.s37 TYPE1.s19 [benchmark options]\n", stderr);
        return 2;
    }
    const QCoreApplication oQtApplication(argc, argv);
    // Every reset reads the line settings; a store of its own keeps a
    // person's settings out of the figures.
    const QTemporaryDir oHome;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(oHome.path()));
    const QString sId21 = QString::fromLocal8Bit(argv[1]);
    const QString sType1 = QString::fromLocal8Bit(argv[2]);
    benchmark::RegisterBenchmark("PrepareId21File", Prepare, sId21)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("PrepareType1File100kLines", Prepare, sType1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("SummariseId21Image", Summarise, sId21)
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
