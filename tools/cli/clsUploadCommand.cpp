#include "tools/cli/clsUploadCommand.h"

#include "engine/mdlEngineErrors.h"
#include "engine/mdlUploadRules.h"
#include "platform/clsPortBindings.h"
#include "tools/cli/clsConsole.h"
#include "tools/cli/mdlErrorText.h"
#include "tools/cli/mdlExitStatus.h"

namespace {

constexpr int lProgressMs = 250;

// Records sent, the bytes on the line so far and the time left, reckoned
// from the records sent and the time the whole upload takes on the line.
QString ProgressText(const clsUploadSummary& oSummary, qint32 lRecordsSent) {
    using namespace mdlUploadRules;
    const qint64 lEraseBytes =
        oSummary.aiEraseOrder.size() * (lEraseCommandLength + 1 + lReplyLength);
    const qint64 lBytesSent = lEraseBytes + (oSummary.lBytesOnLine - lEraseBytes) * lRecordsSent /
                                                std::max(oSummary.lRecordsToSend, 1);
    const double dLeft = oSummary.LineSeconds() * double(oSummary.lBytesOnLine - lBytesSent) /
                         double(std::max<qint64>(oSummary.lBytesOnLine, 1));
    return QStringLiteral("[%1/%2 records, %3/%4 bytes, %5 s left]")
        .arg(lRecordsSent)
        .arg(oSummary.lRecordsToSend)
        .arg(lBytesSent)
        .arg(oSummary.lBytesOnLine)
        .arg(dLeft, 0, 'f', 1);
}

// The window words no port chosen as any port that cannot be opened; here
// the technician is told how to choose one.
clsError NoPortChosen(const clsError& oFailure) {
    if (oFailure.Code() != mdlEngineErrors::CommsFailed) {
        return oFailure;
    }
    return clsError::FromCode(mdlEngineErrors::CommsFailed, oFailure.Source(),
                              QStringLiteral("No port is chosen. Give one with --port N or --port "
                                             "DEVICE, or choose one in the window."));
}

} // namespace

clsUploadCommand::clsUploadCommand(clsConsole& oNewConsole, const Options& oOptions)
    : oConsole(oNewConsole), sPath(oOptions.sPath), iPort(oOptions.iPort),
      oSerialNumbers(oOptions.oSerial.Numbering()), oHanded(oOptions.oHanded),
      oHost(oNewConsole, oOptions.oHost), oApp(oHost), oSequence(oApp) {
    // Without --port, the number stored at the start holds for every board
    // of the run: another choice stored meanwhile must not move it.
    if (iPort <= 0) {
        iPort = oApp.CommSettings().Number();
    }
    // A stored 0 is no port chosen; with a device given the number names
    // nothing, but the port takes none below the first.
    if (iPort <= 0 && !oOptions.oHost.sDevice.isEmpty()) {
        iPort = clsPortBindings::iFirstPort;
    }
    UsePortOption();
    if (oSerialNumbers) {
        oApp.NumberBoards(*oSerialNumbers);
        connect(&oSequence, &clsUploadSequence::Finished, this,
                &clsUploadCommand::TellSerialNumber);
    }
    connect(&oSequence, &clsUploadSequence::Ended, this, &clsUploadCommand::OnEnded);
    connect(&oLedger, &clsUploadLedger::Unwritable, this,
            [this](const QString& sNotice) { oHost.Say(sNotice); });
    connect(&oHost.ReplyTimer(), &QTimer::timeout, &oSequence, &clsUploadSequence::ReplyTimedOut);
    connect(&oHost.TargetTimer(), &QTimer::timeout, this, &clsUploadCommand::OnTargetWaitOver);
    connect(&oStopSignals, &clsStopSignals::Received, this, &clsUploadCommand::OnStopSignal);
    oProgressTimer.setInterval(lProgressMs);
    connect(&oProgressTimer, &QTimer::timeout, this, &clsUploadCommand::ShowProgress);
}

int clsUploadCommand::Exec() {
    if (const std::optional<clsError> oFailure = RunFirst()) {
        return RunFailed(*oFailure);
    }
    return AwaitEnd();
}

std::optional<clsError> clsUploadCommand::RunFirst() {
    if (!oHanded) {
        return oSequence.Run(sPath);
    }
    oLedger.TakeOpened(oHanded->oFiles);
    return oSequence.Run(oHanded->oPrepared);
}

int clsUploadCommand::RunFailed(const clsError& oFailure) {
    oHost.EndLog();
    oConsole.Err(mdlErrorText::ForTerminal(iPort > 0 ? oFailure : NoPortChosen(oFailure)));
    return mdlExitStatus::OfRunFailure(oFailure);
}

int clsUploadCommand::AwaitEnd() {
    if (oHost.Progress().Shown()) {
        oSummary = clsUploadSummary::Of(oApp);
        oProgressTimer.start();
    }
    if (!oStatus) {
        oLoop.exec();
    }
    oHost.EndLog();
    return *oStatus;
}

void clsUploadCommand::Finish(int iStatus) {
    if (!oStatus) {
        oStatus = iStatus;
    }
    oLoop.exit();
}

void clsUploadCommand::UsePortOption() {
    if (iPort > 0) {
        oApp.CommSettings().SetNumber(iPort);
    }
}

void clsUploadCommand::OnEnded(clsUploadSequence::eEnding iEnding, const QString& sBoxText) {
    if (oStatus) {
        return;
    }
    oStatus = mdlExitStatus::OfEnding(iEnding);
    if (!sBoxText.isEmpty()) {
        oHost.Say(sBoxText);
    }
    // The window would wait for the technician's Stop; there is nobody to
    // click it.
    if (iEnding == clsUploadSequence::eEnding::UnknownReply) {
        oSequence.Stop();
    }
    oLoop.exit();
}

void clsUploadCommand::OnTargetWaitOver() {
    // Named before Stop's reset puts the stored port number back.
    const QString sPort = oHost.PortName(oApp.CommSettings().Number());
    oStatus = mdlExitStatus::BoardFailed;
    oSequence.Stop();
    oHost.Say(QStringLiteral("tessivar-cli: the board sent no target byte within %1 s. Check that "
                             "it is connected to %2 and powered, and reset it once the upload has "
                             "started.")
                  .arg(oHost.TargetTimer().interval() / 1000)
                  .arg(sPort));
    oLoop.exit();
}

void clsUploadCommand::OnStopSignal() {
    if (!oStatus) {
        oSequence.Stop();
    }
}

void clsUploadCommand::TellSerialNumber(const clsUploadSequence::Outcome& oOutcome) {
    const std::optional<clsSerialNumbering::Use>& oSerial = oOutcome.oSerial;
    if (!oSerial || oSerial->bUsed) {
        return;
    }
    oHost.Say(oSerial->bReturned
                  ? QStringLiteral("tessivar-cli: serial number %1 went back to %2 for the next "
                                   "board.")
                        .arg(oSerial->lNumber)
                        .arg(oSerial->sStore)
                  : QStringLiteral("tessivar-cli: serial number %1 could not go back: %2")
                        .arg(oSerial->lNumber)
                        .arg(oSerial->sFailure));
}

void clsUploadCommand::ShowProgress() {
    if (oApp.AppState() == clsApplication::Uploading) {
        oHost.Progress().Show(ProgressText(*oSummary, oApp.RecordCount()));
    }
}
