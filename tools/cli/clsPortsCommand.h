#pragma once

#include "engine/clsApplication.h"
#include "engine/clsHandedImage.h"
#include "engine/clsPortsRun.h"
#include "platform/clsStopSignals.h"
#include "platform/clsTerminalEnd.h"
#include "platform/mdlStandardStreams.h"
#include "tools/cli/clsPortLines.h"
#include "tools/cli/clsSerialOptions.h"
#include "tools/cli/clsUploadHost.h"

#include <QEventLoop>
#include <QObject>

#include <memory>
#include <optional>

class clsConsole;

// The same image onto several boards at once, a board on each port. The
// files are prepared and checked once, and the warning asked once, before
// any port opens; then each port gets an upload of that image in a
// tessivar-cli of its own, its lines led by the port's name. Ctrl+C and
// SIGTERM reach every port's upload once for each received; with --repeat,
// the end of a terminal's input reaches them as SIGTERM. A table of the
// ports at the end.
class clsPortsCommand : public QObject {
    Q_OBJECT

public:
    struct Options {
        QString sPath;
        // As --port gave them: numbers and devices.
        QStringList asPorts;
        // Options every port's upload gets as they were given.
        QStringList asPassedOn;
        bool bRepeat = false;
        clsUploadHost::Options oHost;
        // Checked, and its first number applied, here once for all ports.
        clsSerialOptions oSerial{true};
    };

    clsPortsCommand(clsConsole& oNewConsole, const Options& oNewOptions);

    // Runs every port's upload to its end; the run's exit status.
    int Exec();

private:
    // How each port ended, for the table.
    struct PortEnd {
        int iStatus = 0;
        QString sResult;
        qint64 lElapsedMs = 0;
    };

    // The image and the files as they were opened; nothing, the error
    // shown, when the files could not be prepared.
    std::optional<clsHandedImage> Prepare();
    clsPortsRun::Launch Launch() const;
    void OnStopSignal(int iSignal);
    QString Summary() const;

    clsConsole& oConsole;
    Options oOptions;
    std::unique_ptr<clsSerialNumbering> oSerialNumbers;
    clsUploadHost oHost;
    clsApplication oApp;
    clsStopSignals oStopSignals;
    std::optional<clsTerminalEnd> oInputEnd;
    clsPortsRun oRun;
    // Each port as the lines and the table name it, and its device, as they
    // were when the uploads started.
    QStringList asNames;
    QStringList asDevices;
    QList<PortEnd> aEnds;
    clsPortLines oLines{oConsole, mdlStandardStreams::ReadyForProgress()};
    QEventLoop oLoop;
};
