#pragma once

#include "engine/clsApplication.h"
#include "engine/clsUploadLedger.h"
#include "engine/clsUploadSequence.h"
#include "engine/clsUploadSummary.h"
#include "tools/cli/clsStopSignals.h"
#include "tools/cli/clsUploadHost.h"

#include <QEventLoop>
#include <QObject>
#include <QTimer>

#include <optional>

class clsConsole;

// One upload of the headless command, from Run to its end, driven as the
// window's commands drive it; Ctrl+C and SIGTERM are Stop.
class clsUploadCommand : public QObject {
    Q_OBJECT

public:
    struct Options {
        QString sPath;
        // 0 for the stored port number.
        qint16 iPort = 0;
        clsUploadHost::Options oHost;
    };

    clsUploadCommand(clsConsole& oNewConsole, const Options& oOptions);

    // Runs the upload to its end; the exit status tells how it ended.
    int Exec();

private:
    void OnEnded(clsUploadSequence::eEnding iEnding, const QString& sBoxText);
    void OnTargetWaitOver();
    void OnStopSignal();
    void ShowProgress();

    clsConsole& oConsole;
    QString sPath;
    clsUploadHost oHost;
    clsApplication oApp;
    clsUploadSequence oSequence;
    clsUploadLedger oLedger{oApp, oSequence};
    clsStopSignals oStopSignals;
    QTimer oProgressTimer;
    std::optional<clsUploadSummary> oSummary;
    QEventLoop oLoop;
    // Set by the first ending: the Stop that ends a stalled upload after it
    // does not change it.
    std::optional<int> oStatus;
};
