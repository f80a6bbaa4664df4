#include "bench/mdlImportFile.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QStringList>

#include <cstdio>

namespace {

QString sInputPath;

// The id-21 image holding the benchmark input, made once.
clsFlashImage& InputImage() {
    static clsFlashImage oImage = [] {
        clsFlashImage oNew;
        oNew.Create(21);
        oNew.Clear(0xFF);
        mdlImportFile::ImportFile(sInputPath, oNew);
        return oNew;
    }();
    return oImage;
}

// A whole walk of the image as the upload makes it, optionally formatting
// each record as it goes out on the line.
void WalkImage(benchmark::State& oState, bool bFormat) {
    clsFlashImage& oImage = InputImage();
    qint64 lRecords = 0;
    for (auto _ : oState) {
        oImage.ResetBP();
        try {
            for (;;) {
                const clsJRT_SRecord oRecord = oImage.Export();
                if (bFormat) {
                    benchmark::DoNotOptimize(oRecord.Record());
                }
                benchmark::DoNotOptimize(oRecord);
                ++lRecords;
            }
        } catch (const clsError&) {
        }
    }
    oState.counters["records"] =
        benchmark::Counter(double(lRecords), benchmark::Counter::kAvgIterations);
}

void ExportWalk(benchmark::State& oState) {
    WalkImage(oState, false);
}

void ExportWalkFormatted(benchmark::State& oState) {
    WalkImage(oState, true);
}

// Parsing and importing alone, from lines already in memory.
void ParseAndImport(benchmark::State& oState) {
    QFile oFile(sInputPath);
    if (!oFile.open(QIODevice::ReadOnly)) {
        oState.SkipWithError("cannot read the input");
        return;
    }
    const QStringList aLines =
        QString::fromLatin1(oFile.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    clsFlashImage oImage;
    oImage.Create(21);
    clsJRT_SRecord oRecord;
    for (auto _ : oState) {
        oImage.Clear(0xFF);
        for (const QString& sLine : aLines) {
            oRecord.SetRecord(sLine);
            oImage.Import(oRecord);
            oRecord.Reset();
        }
    }
    oState.SetBytesProcessed(qint64(oState.iterations()) * oFile.size());
}

BENCHMARK(ExportWalk)->Unit(benchmark::kMillisecond);
BENCHMARK(ExportWalkFormatted)->Unit(benchmark::kMillisecond);
BENCHMARK(ParseAndImport)->Unit(benchmark::kMillisecond);

} // namespace

int main(int iArgCount, char** aArgs) {
    benchmark::Initialize(&iArgCount, aArgs);
    if (iArgCount != 2) {
        std::fprintf(stderr, "usage: bench_records [benchmark options] FILE.s37\n");
        return 2;
    }
    sInputPath = QString::fromLocal8Bit(aArgs[1]);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
