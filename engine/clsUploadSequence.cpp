#include "engine/clsUploadSequence.h"

#include "engine/clsApplication.h"
#include "engine/mdlComms.h"
#include "engine/mdlEngineErrors.h"
#include "engine/mdlRunReport.h"
#include "platform/clsSerialControl.h"
#include "records/clsJRT_SRecord.h"
#include "resources/mdlResources.h"

using mdlResources::LoadResString;

namespace {

bool IsUnderWay(qint32 lState) {
    return lState >= clsApplication::WaitTarget && lState <= clsApplication::Uploading;
}

// The last status line of a failed Run.
QString RunFailureLine(const clsError& oError) {
    if (!mdlRunReport::IsForeseen(oError)) {
        return QStringLiteral("Unknown error while opening files.");
    }
    const QStringList asDetail = mdlRunReport::DetailLines(oError);
    switch (oError.Code()) {
    case clsJRT_SRecord::NotAnSRecord:
    case clsJRT_SRecord::CheckSumMismatch:
        return asDetail.last();
    default:
        return oError.Description().isEmpty() ? asDetail.first() : oError.Description();
    }
}

// The status-line entry that tells how the board's dialogue ended.
int DialogueWordsEntry(clsUploadSequence::eEnding iEnding) {
    switch (iEnding) {
    case clsUploadSequence::eEnding::Complete:
        return 212;
    case clsUploadSequence::eEnding::NoRecords:
        return 211;
    default:
        return 513;
    }
}

// The words of an error that fails the board (its box and last status
// line); nothing for any other.
std::optional<QString> BoardFailureWords(const clsError& oError) {
    using namespace mdlEngineErrors;
    static const QHash<qint32, int> aEntries = {
        {WrongTarget, 506}, {ResendLimit, 505}, {ProgrammingError, 504}};
    if (aEntries.contains(oError.Code())) {
        return LoadResString(aEntries.value(oError.Code()));
    }
    if (oError.Code() == mdlEngineErrors::CounterUnusable) {
        return oError.Description();
    }
    return std::nullopt;
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
        mdlComms::EstablishCom(oApp);
        oHost.ShowPressMsg();
        oApp.BeginWaitForTarget();
        return std::nullopt;
    } catch (const clsError& oError) {
        const qint32 lCode = oError.Code();
        const Outcome oOutcome = OutcomeNow(std::nullopt, lCode, RunFailureLine(oError));
        bPrepared = false;
        oHost.ResetWindow();
        if (mdlRunReport::IsForeseen(oError) && lCode != mdlEngineErrors::OpenAppFileFailed &&
            lCode != mdlEngineErrors::OpenCmdFileFailed) {
            oApp.Reset();
            ClosingLines();
        }
        oHost.Status(oOutcome.sWords);
        oHost.EnableResetCommand();
        emit Finished(oOutcome);
        return oError;
    }
}

void clsUploadSequence::Stop() {
    StopAs(eEnding::Stopped);
}

void clsUploadSequence::StopAs(eEnding iEnding) {
    const qint32 lCode = iEnding == eEnding::Declined ? mdlEngineErrors::UploadCancelled : 0;
    const Outcome oOutcome = OutcomeNow(iEnding, lCode, LoadResString(520));
    clsEngineHost& oHost = oApp.Host();
    oHost.ResetWindow();
    oHost.SetReplyTimer(false);
    oHost.Status(QStringLiteral("%1 - %2 records transfered.")
                     .arg(LoadResString(520))
                     .arg(oApp.RecordCount()));
    oApp.Reset();
    oHost.EnableResetCommand();
    Finish(oOutcome, {});
}

void clsUploadSequence::ReplyTimedOut() {
    const Outcome oOutcome = OutcomeNow(eEnding::TimedOut, 0, LoadResString(214));
    clsEngineHost& oHost = oApp.Host();
    oHost.SetReplyTimer(false);
    oHost.Status(LoadResString(214));
    oHost.Status(QStringLiteral("%1 - %2 %3")
                     .arg(LoadResString(520))
                     .arg(oApp.RecordCount())
                     .arg(LoadResString(213)));
    ResetBoth();
    Finish(oOutcome, {});
}

void clsUploadSequence::HandOverEvent() {
    try {
        oApp.CommEventHandler(oApp.Host().SerialPort().CommEvent());
    } catch (const clsError& oError) {
        EndWithError(oError);
        return;
    }
    if (const std::optional<eEnding> oEnding = DialogueEnding()) {
        Finish(OutcomeNow(oEnding, 0, LoadResString(DialogueWordsEntry(*oEnding))), {});
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
    const qint32 lCode = oError.Code();
    if (lCode == mdlEngineErrors::UploadCancelled) {
        StopAs(eEnding::Declined);
    } else if (const std::optional<QString> oWords = BoardFailureWords(oError)) {
        const QString sBox =
            LoadResString(500) + QString::number(lCode) + QStringLiteral("\r\n") + *oWords;
        const Outcome oOutcome = OutcomeNow(eEnding::BoardFailed, lCode, *oWords);
        ResetBoth();
        ClosingLines();
        oApp.Host().Status(*oWords + QStringLiteral(" - ") + LoadResString(520));
        Finish(oOutcome, sBox);
    } else if (mdlComms::IsSerialControlError(oError.Number())) {
        EndOnLinkFailure(oError.Number(), oError.Description());
    }
    // Anything else leaves the upload as it stands, for the technician's Stop.
}

// The line failed under the upload (an adapter pulled, a reopen refused):
// an upload left waiting would never hear from the board again.
void clsUploadSequence::EndOnLinkFailure(qint32 lNumber, const QString& sDescription) {
    if (!IsUnderWay(oApp.AppState())) {
        return;
    }
    const Outcome oOutcome = OutcomeNow(eEnding::LinkFailed, lNumber, sDescription);
    oApp.Host().SetReplyTimer(false);
    oApp.Host().Status(sDescription);
    ResetBoth();
    Finish(oOutcome, mdlRunReport::BoxText(clsError(lNumber, {}, sDescription)));
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
void clsUploadSequence::Finish(const Outcome& oOutcome, const QString& sBoxText) {
    bPrepared = false;
    Outcome oSettled = oOutcome;
    // A board that did not take its image whole gives its number back.
    oSettled.oSerial = oApp.SettleSerialNumber(oOutcome.oEnding == eEnding::Complete);
    emit Finished(oSettled);
    emit Ended(*oOutcome.oEnding, sBoxText);
}

void clsUploadSequence::ResetBoth() {
    oApp.Host().ResetWindow();
    oApp.Reset();
    oApp.Host().EnableResetCommand();
}

void clsUploadSequence::ClosingLines() {
    oApp.Host().Status(LoadResString(202));
    oApp.Host().Status(LoadResString(203));
}
