#pragma once

#include "engine/clsApplication.h"
#include "engine/clsBoardRun.h"
#include "engine/clsHandedImage.h"
#include "engine/clsUploadLedger.h"
#include "engine/clsUploadSequence.h"
#include "engine/clsUploadSummary.h"
#include "platform/clsStopSignals.h"
#include "platform/clsTerminalEnd.h"
#include "tools/cli/clsSerialOptions.h"
#include "tools/cli/clsUploadHost.h"

#include <QEventLoop>
#include <QObject>
#include <QTimer>

#include <optional>

class clsConsole;

// The upload verb on one port, one board or, with --repeat, one after
// another: the board run's face, its lines on the console. Ctrl+C, SIGTERM
// and SIGHUP ask the run to stop; with --repeat, so does the end of a
// terminal's input, and the warning is asked once, before the first board.
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
        bool bRepeat = false;
        // The progress reported to the tessivar-cli that started this one,
        // for it to draw.
        bool bReportProgress = false;
        // How long a board's target byte is awaited; 0 for as long as it
        // takes.
        qint32 lWaitMs = 0;
    };

    clsUploadCommand(clsConsole& oNewConsole, const Options& oOptions);

    // Runs the upload or the run to its end; the exit status tells how it
    // ended.
    int Exec();

private:
    std::optional<clsError> Start();
    // Shows why Run failed; the exit status.
    int RunFailed(const clsError& oFailure);
    // The SHA-256 of the two files the image was prepared from, as they
    // were opened.
    void ShowFiles();
    void OnBoardEnded(const clsBoardRun::BoardEnd& oBoard);
    void OnEndsAfterBoard(qint32 lNumber, bool bAgainAbandons);
    void OnRunEnded(const clsBoardRun::RunEnd& oEnd);
    void OnStopSignal();
    void ShowProgress();
    // A board's number that went back to its store, or could not.
    void TellSerialNumber(const clsUploadSequence::Outcome& oOutcome);
    void WarnIncomplete();

    clsConsole& oConsole;
    QString sPath;
    qint16 iPort;
    bool bRepeat;
    bool bReportProgress;
    qint32 lWaitMs;
    std::unique_ptr<clsSerialNumbering> oSerialNumbers;
    std::optional<clsHandedImage> oHanded;
    clsUploadHost oHost;
    clsApplication oApp;
    clsUploadSequence oSequence;
    clsUploadLedger oLedger{oApp, oSequence};
    clsBoardRun oRun;
    clsStopSignals oStopSignals;
    std::optional<clsTerminalEnd> oInputEnd;
    QTimer oProgressTimer;
    std::optional<clsUploadSummary> oSummary;
    QEventLoop oLoop;
    int iStatus = 0;
};
