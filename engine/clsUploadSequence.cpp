#include "engine/clsUploadSequence.h"

#include "engine/clsApplication.h"
#include "engine/mdlComms.h"
#include "engine/mdlEngineErrors.h"
#include "engine/mdlErrorTable.h"
#include "platform/clsSerialControl.h"
#include "resources/mdlResources.h"

using mdlResources::LoadResString;

namespace {

bool IsUnderWay(qint32 lState) {
    return lState >= clsApplication::WaitTarget && lState <= clsApplication::Uploading;
}

// The status-line entry that tells how the board's dialogue ended.
eRes DialogueWordsEntry(clsUploadSequence::eEnding iEnding) {
    switch (iEnding) {
    case clsUploadSequence::eEnding::Complete:
        return eRes::UploadComplete;
    case clsUploadSequence::eEnding::NoRecords:
        return eRes::NoRecordsTransferred;
    default:
        return eRes::UnknownResponse;
    }
}

} // namespace

clsUploadSequence::clsUploadSequence(clsApplication& oNewApp) : oApp(oNewApp) {
    clsSerialControl& oPort = oApp.Host().SerialPort();
    connect(&oPort, &clsSerialControl::OnComm, this, &clsUploadSequence::HandOverEvent);
    connect(&oPort, &clsSerialControl::Failed, this, &clsUploadSequence::EndOnLinkFailure);
}

std::optional<clsError> clsUploadSequence::Run(const QString& sPath) {
    return Begin(sPath, [&] {
        oApp.OpenUploadFiles(sPath);
        emit FilesOpened();
        oApp.PrepareImage();
        emit FilesRead();
    });
}

std::optional<clsError> clsUploadSequence::Run(const clsPreparedUpload& oPrepared) {
    return Begin(oPrepared.sRecFile, [&] {
        oApp.UsePrepared(oPrepared);
        emit PreparedUsed();
    });
}

std::optional<clsError> clsUploadSequence::Begin(const QString& sPath,
                                                 const std::function<void()>& oPrepare) {
    clsEngineHost& oHost = oApp.Host();
    bPrepared = false;
    emit Started(sPath);
    try {
        oPrepare();
        bPrepared = true;
        oApp.OpenPort();
        oHost.ShowPressMsg();
        oApp.BeginWaitForTarget();
        return std::nullopt;
    } catch (const clsError& oError) {
        const mdlErrorTable::Report oReport = mdlErrorTable::OfRun(oError);
        const Outcome oOutcome = OutcomeNow(std::nullopt, oError.Code(), oReport.sWords);
        bPrepared = false;
        oApp.ResetHost();
        if (oReport.bFilesClosed) {
            oApp.Reset();
            ClosingLines();
        }
        oHost.Status(oOutcome.sWords);
        emit Finished(oOutcome);
        return oError;
    }
}

void clsUploadSequence::Stop() {
    StopAs(eEnding::Stopped);
}

void clsUploadSequence::StopAs(eEnding iEnding) {
    const qint32 lCode = iEnding == eEnding::Declined ? mdlEngineErrors::UploadCancelled : 0;
    const Outcome oOutcome = OutcomeNow(iEnding, lCode, LoadResString(eRes::UploadTerminated));
    oApp.ResetHost();
    clsEngineHost& oHost = oApp.Host();
    oHost.SetReplyTimer(false);
    oHost.Status(QStringLiteral("%1 - %2 records transfered.")
                     .arg(LoadResString(eRes::UploadTerminated))
                     .arg(oApp.RecordCount()));
    oApp.Reset();
    oHost.EnableResetCommand();
    Finish(oOutcome);
}

void clsUploadSequence::ReplyTimedOut() {
    const Outcome oOutcome = OutcomeNow(eEnding::TimedOut, 0, LoadResString(eRes::NoResponse));
    clsEngineHost& oHost = oApp.Host();
    oHost.SetReplyTimer(false);
    oHost.Status(LoadResString(eRes::NoResponse));
    oHost.Status(QStringLiteral("%1 - %2 %3")
                     .arg(LoadResString(eRes::UploadTerminated))
                     .arg(oApp.RecordCount())
                     .arg(LoadResString(eRes::RecordsTransferred)));
    ResetBoth();
    Finish(oOutcome);
}

bool clsUploadSequence::Outcome::LeftIncomplete() const {
    return clsApplication::IsWriting(lState);
}

QString clsUploadSequence::Outcome::IncompleteWarning() {
    return QStringLiteral("The board holds an incomplete application: upload it again before use.");
}

void clsUploadSequence::HandOverEvent() {
    const bool bAwaitedTarget = oApp.AppState() == clsApplication::WaitTarget;
    try {
        oApp.CommEventHandler(oApp.Host().SerialPort().CommEvent());
    } catch (const clsError& oError) {
        EndWithError(oError);
        return;
    }
    // Past the warning; a board with nothing to erase or send is past its
    // end as well.
    if (bAwaitedTarget && oApp.AppState() > clsApplication::WaitTarget) {
        emit WritingBegan();
    }
    if (const std::optional<eEnding> oEnding = DialogueEnding()) {
        Finish(OutcomeNow(oEnding, 0, LoadResString(DialogueWordsEntry(*oEnding))));
    }
}

std::optional<clsUploadSequence::eEnding> clsUploadSequence::DialogueEnding() {
    switch (oApp.AppState()) {
    case clsApplication::Complete:
        return eEnding::Complete;
    case clsApplication::NoRecords:
        return eEnding::NoRecords;
    case clsApplication::Erasing:
    case clsApplication::Uploading:
        // Only a reply it does not know makes the dialogue close the port.
        if (!oApp.Host().SerialPort().PortOpen()) {
            return eEnding::UnknownReply;
        }
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

void clsUploadSequence::EndWithError(const clsError& oError) {
    const std::optional<mdlErrorTable::Report> oReport = mdlErrorTable::OfDialogue(oError);
    if (!oReport) {
        // Anything else leaves the upload as it stands, for the technician's Stop.
        return;
    }
    if (oReport->iClass == mdlErrorTable::eClass::Declined) {
        StopAs(eEnding::Declined);
    } else if (oReport->iClass == mdlErrorTable::eClass::Link) {
        EndOnLinkFailure(oError.Number(), oError.Description());
    } else {
        const Outcome oOutcome = OutcomeNow(eEnding::BoardFailed, oError.Code(), oReport->sWords);
        ResetBoth();
        ClosingLines();
        oApp.Host().Status(oReport->sWords + QStringLiteral(" - ") +
                           LoadResString(eRes::UploadTerminated));
        Finish(oOutcome, oReport);
    }
}

// The line failed under the upload (an adapter pulled, a reopen refused):
// an upload left waiting would never hear from the board again.
void clsUploadSequence::EndOnLinkFailure(qint32 lNumber, const QString& sDescription) {
    if (!IsUnderWay(oApp.AppState())) {
        return;
    }
    const mdlErrorTable::Report oReport = mdlErrorTable::OfLinkFailure(sDescription);
    const Outcome oOutcome = OutcomeNow(eEnding::LinkFailed, lNumber, oReport.sWords);
    oApp.Host().SetReplyTimer(false);
    oApp.Host().Status(oReport.sWords);
    ResetBoth();
    Finish(oOutcome, oReport);
}

clsUploadSequence::Outcome clsUploadSequence::OutcomeNow(std::optional<eEnding> oEnding,
                                                         qint32 lCode,
                                                         const QString& sWords) const {
    return {.oEnding = oEnding,
            .lState = oApp.AppState(),
            .lRecords = oApp.RecordCount(),
            .yTargetID = oApp.TargetID(),
            .oImageCheckSum =
                bPrepared ? std::optional(oApp.FlashImage().CheckSum()) : std::nullopt,
            .lCode = lCode,
            .sWords = sWords,
            // Settled as the upload finishes.
            .oSerial = std::nullopt};
}

// Whatever keeps a record of the upload hears of its end before anyone
// shows it.
void clsUploadSequence::Finish(const Outcome& oOutcome,
                               const std::optional<mdlErrorTable::Report>& oReport) {
    bPrepared = false;
    Outcome oSettled = oOutcome;
    // A board that did not take its image whole gives its number back.
    oSettled.oSerial = oApp.SettleSerialNumber(oOutcome.oEnding == eEnding::Complete);
    emit Finished(oSettled);
    if (!oReport) {
        emit Ended(*oOutcome.oEnding, {}, mdlErrorTable::iNoHelp);
        return;
    }
    emit Ended(*oOutcome.oEnding, mdlErrorTable::BoxText(oOutcome.lCode, oReport->asLines),
               oReport->iTopic);
}

void clsUploadSequence::ResetBoth() {
    oApp.ResetHost();
    oApp.Reset();
    oApp.Host().EnableResetCommand();
}

void clsUploadSequence::ClosingLines() {
    oApp.Host().Status(LoadResString(eRes::AppFileClosed));
    oApp.Host().Status(LoadResString(eRes::CmdFileClosed));
}
