#include "tools/cli/clsRepeatCommand.h"

#include "tools/cli/mdlExitStatus.h"

namespace {

constexpr int lPauseMs = 1000;
// Stop signals this close together are one: a service manager signals every
// process of a run of several ports, and the run passes it on to each too.
constexpr qint64 lSameStopMs = 500;

// Such as "55 s" or "2 min 55 s".
QString Duration(qint64 lMs) {
    const qint64 lSeconds = (lMs + 500) / 1000;
    return lSeconds < 60 ? QStringLiteral("%1 s").arg(lSeconds)
                         : QStringLiteral("%1 min %2 s").arg(lSeconds / 60).arg(lSeconds % 60);
}

} // namespace

clsRepeatCommand::clsRepeatCommand(clsConsole& oNewConsole, const Options& oOptions)
    : clsUploadCommand(oNewConsole, oOptions) {
    oPause.setSingleShot(true);
    oPause.setInterval(lPauseMs);
    connect(&oPause, &QTimer::timeout, this, &clsRepeatCommand::NextBoard);
}

int clsRepeatCommand::Exec() {
    if (const std::optional<int> oRefused = Host().ConfirmAhead()) {
        return *oRefused;
    }
    if (const std::optional<clsError> oFailure = RunFirst()) {
        return RunFailed(*oFailure);
    }
    oPrepared = App().Prepared();
    ShowFiles();
    connect(&oInputEnd.emplace(), &clsTerminalEnd::Ended, this, &clsRepeatCommand::OnInputEnded);
    return AwaitEnd();
}

void clsRepeatCommand::ShowFiles() {
    const clsOpenedFiles oFiles = Ledger().LastOpened().value_or(clsOpenedFiles());
    const std::pair<QString, QString> aFiles[] = {{oFiles.sFileSha256, Path()},
                                                  {oFiles.sCommandFileSha256, App().RecFileName()}};
    for (const auto& [sHash, sFile] : aFiles) {
        Host().Status(QStringLiteral("SHA-256 %1  %2")
                          .arg(sHash.isEmpty() ? QStringLiteral("unreadable") : sHash, sFile));
    }
}

void clsRepeatCommand::OnEnded(clsUploadSequence::eEnding iEnding, const QString& sBoxText) {
    using Ending = clsUploadSequence::eEnding;
    if (bStoppingQuietly) {
        return;
    }
    if (!sBoxText.isEmpty()) {
        Host().Say(sBoxText);
    }
    // A wrong target byte is a board's; nothing else ends the wait for one
    // but the line's failure.
    if (!Host().SinceTargetByte().isValid() && iEnding != Ending::BoardFailed) {
        EndRun(mdlExitStatus::BoardFailed);
        return;
    }
    Count(iEnding == Ending::Complete);
    // As for one upload: nobody is there to click Stop.
    if (iEnding == Ending::UnknownReply) {
        StopQuietly();
    }
    if (bStopAsked) {
        EndRun(Counted(mdlExitStatus::Stopped));
        return;
    }
    oPause.start();
}

void clsRepeatCommand::Count(bool bGood) {
    ++(bGood ? lGood : lFailed);
    QString sLine = QStringLiteral("board %1: %2").arg(Boards()).arg(Host().LastLine());
    if (Host().SinceTargetByte().isValid()) {
        sLine += QLatin1Char(' ') + Duration(Host().SinceTargetByte().elapsed());
    }
    Host().Status(sLine);
}

// As the technician's Reset and Run would.
void clsRepeatCommand::NextBoard() {
    App().Reset();
    UsePortOption();
    if (const std::optional<clsError> oFailure = Sequence().Run(*oPrepared)) {
        EndRun(RunFailed(*oFailure));
    }
}

void clsRepeatCommand::OnTargetWaitOver() {
    Host().Say(QStringLiteral("tessivar-cli: no board sent its target byte within %1 s.")
                   .arg(Host().TargetTimer().interval() / 1000));
    StopNow(mdlExitStatus::BoardFailed);
}

void clsRepeatCommand::OnStopSignal() {
    if (Host().Asking()) {
        Host().StopAsking();
    } else if (!BoardUnderWay()) {
        StopNow(mdlExitStatus::Stopped);
    } else if (oSinceArmed.isValid()) {
        if (oSinceArmed.elapsed() >= lSameStopMs) {
            Sequence().Stop();
        }
    } else {
        oSinceArmed.start();
        StopAfterBoard(QStringLiteral(" Ctrl+C again abandons the board."));
    }
}

void clsRepeatCommand::OnInputEnded() {
    if (BoardUnderWay()) {
        StopAfterBoard({});
    } else {
        StopNow(mdlExitStatus::Stopped);
    }
}

bool clsRepeatCommand::BoardUnderWay() {
    const qint32 lState = App().AppState();
    return lState == clsApplication::Erasing || lState == clsApplication::Uploading;
}

void clsRepeatCommand::StopQuietly() {
    bStoppingQuietly = true;
    Sequence().Stop();
    bStoppingQuietly = false;
}

void clsRepeatCommand::StopAfterBoard(const QString& sNote) {
    bStopAsked = true;
    Host().Say(QStringLiteral("tessivar-cli: the run ends after board %1.%2")
                   .arg(Boards() + 1)
                   .arg(sNote));
}

void clsRepeatCommand::StopNow(int iWithoutBoards) {
    oPause.stop();
    if (App().AppState() == clsApplication::WaitTarget) {
        StopQuietly();
    }
    EndRun(Counted(iWithoutBoards));
}

int clsRepeatCommand::Counted(int iWithoutBoards) const {
    if (Boards() == 0) {
        return iWithoutBoards;
    }
    return lFailed == 0 ? mdlExitStatus::Done : mdlExitStatus::BoardFailed;
}

void clsRepeatCommand::EndRun(int iStatus) {
    Host().Status(Boards() == 0
                      ? QStringLiteral("No board was uploaded.")
                      : QStringLiteral("Boards: %1 good, %2 failed.").arg(lGood).arg(lFailed));
    Finish(iStatus);
}
