#include "tools/cli/clsUploadHost.h"

#include "engine/clsApplication.h"
#include "engine/mdlComms.h"
#include "engine/mdlTextUtil.h"
#include "platform/clsConsole.h"
#include "platform/mdlStandardStreams.h"
#include "resources/mdlResources.h"
#include "tools/cli/mdlErrorText.h"
#include "tools/cli/mdlExitStatus.h"

namespace {

bool IsYes(const QString& sAnswer) {
    const QString sWord = sAnswer.trimmed().toLower();
    return sWord == QLatin1String("y") || sWord == QLatin1String("yes") ||
           sWord == QLatin1String("ok");
}

} // namespace

clsUploadHost::clsUploadHost(clsConsole& oNewConsole, const Options& oNewOptions)
    : clsLogHost([this](const QString& sText) { oProgress.Log(sText); }), oConsole(oNewConsole),
      oProgress(oNewConsole, mdlStandardStreams::ReadyForProgress(),
                !mdlStandardStreams::ReadyForProgress() && mdlStandardStreams::ErrorsOnTerminal()),
      oOptions(oNewOptions), oCommPort([this](qint16 iPort) {
          return oOptions.sDevice.isEmpty() ? mdlComms::DeviceOf(iPort) : oOptions.sDevice;
      }) {
    oCommPort.SetNamedByDevice(!oOptions.sDevice.isEmpty());
    bSharedTerminal = oOptions.bOneTerminal || mdlStandardStreams::OutputsShareTerminal();
    // A coarse timer may fire 5 % early: a board that answers after 1.9 s
    // would be taken for a silent one.
    oReplyTimer.setTimerType(Qt::PreciseTimer);
    oReplyTimer.setSingleShot(true);
    oReplyTimer.setInterval(lReplyTimeoutMs);
}

QString clsUploadHost::PortName(qint16 iPort) const {
    return oOptions.sDevice.isEmpty() ? clsLogHost::PortName(iPort) : oOptions.sDevice;
}

// The port's own line tells nothing of how the upload ended.
void clsUploadHost::PortStatus(const QString& sStatusLine) {
    const QString sEnding = LastLine();
    Status(sStatusLine);
    SetLastLine(sEnding);
}

// No controls and no prompt window to put back: whatever still waits for
// the board or the technician stops waiting.
void clsUploadHost::ResetWindow() {
    oAnswer.Abandon();
}

void clsUploadHost::SetReplyTimer(bool bOn) {
    if (bOn) {
        oReplyTimer.start();
    } else {
        oReplyTimer.stop();
    }
}

void clsUploadHost::ShowPressMsg() {
    oSinceTargetByte.invalidate();
    Say(mdlResources::LoadResString(eRes::ResetPrompt));
    if (!sBoardHint.isEmpty()) {
        Say(sBoardHint);
    }
}

void clsUploadHost::UnloadPressMsg() {
    oSinceTargetByte.start();
}

bool clsUploadHost::ConfirmOverwrite(const QString& sWarning) {
    if (oOptions.bConfirmed) {
        return true;
    }
    // The window's question names its buttons; a terminal asks as
    // terminals do.
    QString sWords = sWarning;
    const QString sQuestion =
        QStringLiteral("\r\n") + mdlResources::LoadResString(eRes::OverwriteQuestion);
    if (sWords.endsWith(sQuestion)) {
        sWords.chop(sQuestion.size());
    }
    EndLog();
    oConsole.Err(sWords + QStringLiteral("\nContinue? [y/N] "));
    const std::optional<QString> sAnswer = oAnswer.Read();
    if (!sAnswer) {
        // The end of input gets its line's end, as a typed answer does.
        oConsole.Err(QStringLiteral("\n"));
    }
    // Asked once: an OK holds for the uploads that follow.
    oOptions.bConfirmed = sAnswer && IsYes(*sAnswer);
    return oOptions.bConfirmed;
}

std::optional<int> clsUploadHost::ConfirmAhead() {
    bAsking = true;
    const bool bConfirmed = ConfirmOverwrite(clsApplication::OverwriteWarning());
    bAsking = false;
    if (bAskStopped) {
        return mdlExitStatus::Stopped;
    }
    return bConfirmed ? std::nullopt : std::optional<int>(mdlExitStatus::Declined);
}

void clsUploadHost::StopAsking() {
    bAskStopped = true;
    oAnswer.Abandon();
}

void clsUploadHost::SayBeyondLog(const QString& sShown) {
    EndLog();
    QStringList asLines = sShown.split(QLatin1Char('\n'));
    if (bSharedTerminal && !LastLine().isEmpty()) {
        asLines.removeAll(mdlTextUtil::Visible(LastLine()));
    }
    oConsole.Err(asLines.join(QLatin1Char('\n')));
}

void clsUploadHost::Say(const QString& sText) {
    EndLog();
    oConsole.Err(mdlErrorText::Lines(sText) + QLatin1Char('\n'));
}
