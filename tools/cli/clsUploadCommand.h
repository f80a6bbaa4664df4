#pragma once

#include "engine/clsApplication.h"
#include "engine/clsHandedImage.h"
#include "engine/clsUploadLedger.h"
#include "engine/clsUploadSequence.h"
#include "engine/clsUploadSummary.h"
#include "platform/clsStopSignals.h"
#include "tools/cli/clsSerialOptions.h"
#include "tools/cli/clsUploadHost.h"

#include <QEventLoop>
#include <QObject>
#include <QTimer>

#include <optional>

class clsConsole;

// One upload of the headless command, from Run to its end, driven as the
// window's commands drive it; Ctrl+C, SIGTERM and SIGHUP are Stop.
class clsUploadCommand : public QObject {
    Q_OBJECT

public:
    struct Options {
        QString sPath;
        // 0 for the stored port number.
        qint16 iPort = 0;
        clsUploadHost::Options oHost;
        clsSerialOptions oSerial{true};
        // Another tessivar-cli's image of the file, uploaded in its place:
        // the file is not read.
        std::optional<clsHandedImage> oHanded;
    };

    clsUploadCommand(clsConsole& oNewConsole, const Options& oOptions);

    // Runs the upload to its end; the exit status tells how it ended.
    virtual int Exec();

protected:
    virtual void OnEnded(clsUploadSequence::eEnding iEnding, const QString& sBoxText);
    virtual void OnTargetWaitOver();
    virtual void OnStopSignal();

    // Run of the file, or of the image handed over for it.
    std::optional<clsError> RunFirst();
    // Shows why Run failed; the exit status.
    int RunFailed(const clsError& oFailure);
    // Waits on the event loop for the end; the exit status.
    int AwaitEnd();
    // The end, with iStatus, unless the command has ended already.
    void Finish(int iStatus);
    // The port that --port names, for this upload only: the stored port
    // number stays as it is.
    void UsePortOption();

    const QString& Path() const { return sPath; }
    clsUploadHost& Host() { return oHost; }
    clsApplication& App() { return oApp; }
    clsUploadSequence& Sequence() { return oSequence; }
    const clsUploadLedger& Ledger() const { return oLedger; }

private:
    void ShowProgress();
    // A board's number that went back to its store, or could not.
    void TellSerialNumber(const clsUploadSequence::Outcome& oOutcome);

    clsConsole& oConsole;
    QString sPath;
    qint16 iPort;
    std::unique_ptr<clsSerialNumbering> oSerialNumbers;
    std::optional<clsHandedImage> oHanded;
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
