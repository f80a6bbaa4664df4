#pragma once

#include "platform/clsSerialControl.h"
#include "platform/clsStdinLine.h"
#include "tools/cli/clsLogHost.h"
#include "tools/cli/clsProgressLine.h"

#include <QElapsedTimer>
#include <QTimer>

#include <optional>

class clsConsole;

// The engine's host for the upload verb: the status log on standard output,
// the reset prompt and the overwrite warning on standard error with the
// answer from standard input, the reply timer, and the bound on the wait for
// the board's target byte.
class clsUploadHost : public clsLogHost {
public:
    struct Options {
        // The device the port stands for; empty for the port bindings'.
        QString sDevice;
        // The warning counts as answered OK.
        bool bConfirmed = false;
        // Standard output and standard error end on one terminal, whatever
        // they are here.
        bool bOneTerminal = false;
    };

    clsUploadHost(clsConsole& oNewConsole, const Options& oNewOptions);
    clsSerialControl& SerialPort() override { return oCommPort; }
    QString PortName(qint16 iPort) const override;
    void PortStatus(const QString& sStatusLine) override;
    void ResetWindow() override;
    void SetReplyTimer(bool bOn) override;
    void ShowPressMsg() override;
    void UnloadPressMsg() override;
    bool ConfirmOverwrite(const QString& sWarning) override;
    // The warning asked ahead of the uploads, once for all of them: nothing
    // when answered OK; otherwise the exit status, stopped when StopAsking
    // ended the wait for the answer.
    std::optional<int> ConfirmAhead();
    bool Asking() const { return bAsking; }
    void StopAsking();

    QTimer& ReplyTimer() { return oReplyTimer; }
    clsProgressLine& Progress() { return oProgress; }
    // Since the board's target byte matched; invalid while a board is
    // awaited and for a board that sent none that matched.
    const QElapsedTimer& SinceTargetByte() const { return oSinceTargetByte; }
    // sText on standard error, on a line of its own, escaped as a box
    // text is.
    void Say(const QString& sText);
    // Said after the reset prompt, for every board awaited.
    void SetBoardHint(const QString& sHint) { sBoardHint = sHint; }
    // sShown, lines as a terminal shows them, on standard error; where
    // standard output shows on the same terminal, without the line the log
    // has just shown.
    void SayBeyondLog(const QString& sShown);

private:
    clsConsole& oConsole;
    clsProgressLine oProgress;
    Options oOptions;
    clsSerialControl oCommPort;
    QTimer oReplyTimer;
    QElapsedTimer oSinceTargetByte;
    clsStdinLine oAnswer;
    QString sBoardHint;
    bool bSharedTerminal = false;
    bool bAsking = false;
    bool bAskStopped = false;
};
