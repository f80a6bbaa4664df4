#include "tools/cli/clsUploadCommand.h"

#include "engine/clsUploadProgress.h"
#include "engine/mdlEngineErrors.h"
#include "engine/mdlTextUtil.h"
#include "platform/clsConsole.h"
#include "platform/clsPortBindings.h"
#include "tools/cli/clsPortLines.h"
#include "tools/cli/mdlErrorText.h"
#include "tools/cli/mdlExitStatus.h"

namespace {

constexpr int lProgressMs = 250;

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
      bRepeat(oOptions.bRepeat), bReportProgress(oOptions.bReportProgress),
      lWaitMs(oOptions.lWaitMs), oSerialNumbers(oOptions.oSerial.Numbering()),
      oHanded(oOptions.oHanded), oHost(oNewConsole, oOptions.oHost), oApp(oHost), oSequence(oApp),
      oRun(oApp, oSequence,
           oOptions.bRepeat ? clsBoardRun::ePolicy::Repeat : clsBoardRun::ePolicy::OneBoard,
           oOptions.lWaitMs) {
    if (iPort <= 0) {
        iPort = oApp.CommSettings().Number();
    }
    // A stored 0 is no port chosen; with a device given the number names
    // nothing, but the port takes none below the first.
    if (iPort <= 0 && !oOptions.oHost.sDevice.isEmpty()) {
        iPort = clsPortBindings::iFirstPort;
    }
    // For this run only: the stored port number stays as it is.
    if (iPort > 0) {
        oApp.CommSettings().SetNumber(iPort);
    }
    if (oSerialNumbers) {
        oApp.NumberBoards(*oSerialNumbers);
        connect(&oSequence, &clsUploadSequence::Finished, this,
                &clsUploadCommand::TellSerialNumber);
    }
    connect(&oRun, &clsBoardRun::BoardEnded, this, &clsUploadCommand::OnBoardEnded);
    connect(&oRun, &clsBoardRun::EndsAfterBoard, this, &clsUploadCommand::OnEndsAfterBoard);
    connect(&oRun, &clsBoardRun::BoardLeftIncomplete, this, &clsUploadCommand::WarnIncomplete);
    connect(&oRun, &clsBoardRun::RunEnded, this, &clsUploadCommand::OnRunEnded);
    if (bRepeat) {
        connect(&oRun, &clsBoardRun::WaitOver, this, [this] {
            oHost.Say(QStringLiteral("tessivar-cli: no board sent its target byte within %1 s.")
                          .arg(lWaitMs / 1000));
        });
    }
    connect(&oLedger, &clsUploadLedger::Unwritable, this,
            [this](const QString& sNotice) { oHost.Say(sNotice); });
    connect(&oHost.ReplyTimer(), &QTimer::timeout, &oSequence, &clsUploadSequence::ReplyTimedOut);
    connect(&oStopSignals, &clsStopSignals::Received, this, &clsUploadCommand::OnStopSignal);
    oProgressTimer.setInterval(lProgressMs);
    connect(&oProgressTimer, &QTimer::timeout, this, &clsUploadCommand::ShowProgress);
}

int clsUploadCommand::Exec() {
    if (const std::optional<int> oRefused = bRepeat ? oHost.ConfirmAhead() : std::nullopt) {
        return *oRefused;
    }
    if (bRepeat) {
        connect(&oInputEnd.emplace(), &clsTerminalEnd::Ended, &oRun, &clsBoardRun::InputEnded);
        oHost.SetBoardHint(QStringLiteral("tessivar-cli: waiting for a board. %1 ends the run; "
                                          "once a board is under way, Ctrl+C ends it after "
                                          "this board.")
                               .arg(oInputEnd->Watching()
                                        ? clsTerminalEnd::EndKeys() + QStringLiteral(" or Ctrl+C")
                                        : QStringLiteral("Ctrl+C")));
    }
    if (const std::optional<clsError> oFailure = Start()) {
        return RunFailed(*oFailure);
    }
    if (bRepeat) {
        ShowFiles();
    }
    if (oHost.Progress().Shown() || bReportProgress) {
        oSummary = clsUploadSummary::Of(oApp);
        oProgressTimer.start();
    }
    if (!oRun.Ended()) {
        oLoop.exec();
    }
    oHost.EndLog();
    return iStatus;
}

std::optional<clsError> clsUploadCommand::Start() {
    if (!oHanded) {
        return oRun.Start(sPath);
    }
    oLedger.TakeOpened(oHanded->oFiles);
    return oRun.Start(oHanded->oPrepared);
}

int clsUploadCommand::RunFailed(const clsError& oFailure) {
    oHost.SayBeyondLog(mdlErrorText::ForTerminal(iPort > 0 ? oFailure : NoPortChosen(oFailure)));
    return mdlExitStatus::Of(clsBoardRun::ClassOf(oFailure));
}

void clsUploadCommand::ShowFiles() {
    const clsOpenedFiles oFiles = oLedger.LastOpened().value_or(clsOpenedFiles());
    const std::pair<QString, QString> aFiles[] = {{oFiles.sFileSha256, sPath},
                                                  {oFiles.sCommandFileSha256, oApp.RecFileName()}};
    for (const auto& [sHash, sFile] : aFiles) {
        oHost.Status(QStringLiteral("SHA-256 %1  %2")
                         .arg(sHash.isEmpty() ? QStringLiteral("unreadable") : sHash, sFile));
    }
}

void clsUploadCommand::OnBoardEnded(const clsBoardRun::BoardEnd& oBoard) {
    if (!oBoard.sBoxText.isEmpty()) {
        oHost.SayBeyondLog(mdlErrorText::Lines(oBoard.sBoxText) + QLatin1Char('\n'));
    }
    if (!bRepeat || !oBoard.bBoard) {
        return;
    }
    QString sLine = QStringLiteral("board %1: %2").arg(oBoard.lNumber).arg(oHost.LastLine());
    if (oHost.SinceTargetByte().isValid()) {
        sLine += QLatin1Char(' ') + mdlTextUtil::Duration(oHost.SinceTargetByte().elapsed());
    }
    oHost.Status(sLine);
}

void clsUploadCommand::OnEndsAfterBoard(qint32 lNumber, bool bAgainAbandons) {
    oHost.Say(
        QStringLiteral("tessivar-cli: the run ends after board %1.%2")
            .arg(lNumber)
            .arg(bAgainAbandons ? QStringLiteral(" Ctrl+C again abandons the board.") : QString()));
}

void clsUploadCommand::OnRunEnded(const clsBoardRun::RunEnd& oEnd) {
    iStatus = mdlExitStatus::Of(oEnd.iClass);
    // After the lines of the Stop that ended the wait; a repeat run tells
    // of it before them.
    if (oEnd.bWaitOver && !bRepeat) {
        oHost.Say(QStringLiteral("tessivar-cli: the board sent no target byte within %1 s. Check "
                                 "that it is connected to %2 and powered, and reset it once the "
                                 "upload has started.")
                      .arg(lWaitMs / 1000)
                      .arg(oHost.PortName(iPort)));
    }
    if (oEnd.oFailure) {
        RunFailed(*oEnd.oFailure);
    }
    if (bRepeat) {
        oHost.Status(oEnd.Boards() == 0 ? QStringLiteral("No board was uploaded.")
                                        : QStringLiteral("Boards: %1 good, %2 failed.")
                                              .arg(oEnd.lGood)
                                              .arg(oEnd.FailedCounted()));
    }
    oLoop.exit();
}

void clsUploadCommand::OnStopSignal() {
    if (oHost.Asking()) {
        oHost.StopAsking();
    } else {
        oRun.StopAsked();
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
    if (oApp.AppState() != clsApplication::Uploading) {
        return;
    }
    const clsUploadProgress oNow = clsUploadProgress::At(*oSummary, oApp.RecordCount());
    const QString sProgress = QStringLiteral("[%1/%2 records, %3/%4 bytes, %5 s left]")
                                  .arg(oNow.lRecordsSent)
                                  .arg(oNow.lRecordsToSend)
                                  .arg(oNow.lBytesSent)
                                  .arg(oNow.lBytesOnLine)
                                  .arg(oNow.dSecondsLeft, 0, 'f', 1);
    if (bReportProgress) {
        oConsole.Err(clsPortLines::ProgressLine(sProgress));
    } else {
        oHost.Progress().Show(sProgress);
    }
}

void clsUploadCommand::WarnIncomplete() {
    // A repeat run's lines name no port; a port's own upload in a
    // several-port run has its lines led by its port already.
    const QString sLed =
        bRepeat && !oHanded
            ? QStringLiteral("[%1] ").arg(mdlTextUtil::Visible(oHost.PortName(iPort)))
            : QString();
    oHost.Say(sLed + clsUploadSequence::Outcome::IncompleteWarning());
}
