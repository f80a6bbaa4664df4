#pragma once

#include "engine/clsApplication.h"
#include "engine/clsHandedImage.h"
#include "platform/clsStopSignals.h"
#include "platform/clsUnnamedFile.h"
#include "tools/cli/clsPortChild.h"
#include "tools/cli/clsSerialOptions.h"
#include "tools/cli/clsTerminalEnd.h"
#include "tools/cli/clsUploadHost.h"

#include <QEventLoop>
#include <QObject>

#include <memory>
#include <optional>
#include <vector>

class clsConsole;

// The same image onto several boards at once, a board on each port. The
// files are prepared and checked once, and the warning asked once, before
// any port opens; then each port gets an upload of that image in a
// tessivar-cli of its own, so that nothing on one port, a crash included,
// stops or slows another. Ctrl+C and SIGTERM reach every port's upload once
// for each received; with --repeat, the end of a terminal's input reaches
// them as SIGTERM. A table of the ports at the end.
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

    // Runs every port's upload to its end. The exit status: theirs when
    // all ended alike, a board's failure when they did not.
    int Exec();

private:
    // The image and the files as they were opened; nothing, the error
    // shown, when the files could not be prepared.
    std::optional<clsHandedImage> Prepare();
    void StartPorts(const QString& sImage);
    void OnStopSignal(int iSignal);
    void PassOn(int iSignal);
    void OnPortEnded();
    QString Summary() const;
    int Status() const;

    clsConsole& oConsole;
    Options oOptions;
    std::unique_ptr<clsSerialNumbering> oSerialNumbers;
    clsUploadHost oHost;
    clsApplication oApp;
    clsStopSignals oStopSignals;
    std::optional<clsTerminalEnd> oInputEnd;
    // Holds the image for the ports' uploads: in no folder, so that no
    // death of this program or of theirs leaves it behind.
    clsUnnamedFile oImageFile;
    std::vector<std::unique_ptr<clsPortChild>> aPorts;
    qsizetype lEnded = 0;
    QEventLoop oLoop;
};
