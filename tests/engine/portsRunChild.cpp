#include "platform/clsStopSignals.h"
#include "platform/mdlDurableFile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QThread>

#include <cstdio>

// A port's child for tst_clsPortsRun. Its first arguments: the image it
// expects and the path it was handed the image by (a mismatch ends it with
// status 9). The rest are steps, done in turn: out=TEXT, err=TEXT a line on
// standard output or error; part=TEXT standard output with no line end;
// stop: "waiting", then once a Stop has come "stopped N", N counting every
// Stop so far; await=PATH: "waiting", until PATH exists; crash; exit=N ends
// with status N.
namespace {

void Write(std::FILE* oStream, const QString& sText) {
    std::fputs(sText.toUtf8().constData(), oStream);
    std::fflush(oStream);
}

} // namespace

int main(int argc, char** argv) {
    const QCoreApplication oApp(argc, argv);
    const QStringList asArguments = QCoreApplication::arguments();
    // Read as a port's upload reads it: on Windows only a reader that shares
    // its deletion may open it.
    QByteArray aImage;
    QString sWhy;
    mdlDurableFile::ReadWhole(asArguments.value(2), 1024, aImage, sWhy);
    if (aImage != asArguments.value(1).toUtf8()) {
        return 9;
    }
    const clsStopSignals oStopSignals;
    int iStops = 0;
    QObject::connect(&oStopSignals, &clsStopSignals::Received, [&iStops] { ++iStops; });
    for (const QString& sStep : asArguments.mid(3)) {
        const QString sValue = sStep.section('=', 1);
        if (sStep.startsWith("out=") || sStep.startsWith("err=")) {
            Write(sStep.startsWith("out=") ? stdout : stderr, sValue + "\n");
        } else if (sStep.startsWith("part=")) {
            Write(stdout, sValue);
        } else if (sStep == "stop") {
            const int iBefore = iStops;
            Write(stdout, "waiting\n");
            while (iStops == iBefore) {
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            }
            Write(stdout, QStringLiteral("stopped %1\n").arg(iStops));
        } else if (sStep.startsWith("await=")) {
            Write(stdout, "waiting\n");
            while (!QFileInfo::exists(sValue)) {
                QThread::msleep(10);
            }
        } else if (sStep == "crash") {
            __builtin_trap();
        } else if (sStep.startsWith("exit=")) {
            return sValue.toInt();
        }
    }
    return 0;
}
