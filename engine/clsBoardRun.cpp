#include "engine/clsBoardRun.h"

#include "engine/clsApplication.h"
#include "engine/mdlErrorTable.h"
#include "platform/clsSerialControl.h"

namespace {

constexpr int lPauseMs = 1000;
// Stop requests this close together are one: a service manager signals
// every process of a run of several ports, and the run passes it on to each
// too.
constexpr qint64 lSameStopMs = 500;

} // namespace

clsBoardRun::clsBoardRun(clsApplication& oNewApp, clsUploadSequence& oNewSequence,
                         ePolicy iNewPolicy, qint32 lNewWaitMs)
    : oApp(oNewApp), oSequence(oNewSequence), iPolicy(iNewPolicy) {
    // A coarse timer may fire 5 % early.
    oWait.setTimerType(Qt::PreciseTimer);
    oWait.setSingleShot(true);
    oWait.setInterval(lNewWaitMs);
    connect(&oWait, &QTimer::timeout, this, &clsBoardRun::OnWaitOver);
    oPause.setSingleShot(true);
    oPause.setInterval(lPauseMs);
    connect(&oPause, &QTimer::timeout, this, &clsBoardRun::NextBoard);
    connect(&oSequence, &clsUploadSequence::Finished, this,
            [this](const clsUploadSequence::Outcome& oOutcome) {
                lEndState = oOutcome.lState;
                bEndIncomplete = oOutcome.LeftIncomplete();
            });
    connect(&oSequence, &clsUploadSequence::Ended, this, &clsBoardRun::OnEnded);
}

std::optional<clsError> clsBoardRun::Start(const QString& sPath) {
    return Begin(oSequence.Run(sPath));
}

std::optional<clsError> clsBoardRun::Start(const clsPreparedUpload& oHanded) {
    return Begin(oSequence.Run(oHanded));
}

std::optional<clsError> clsBoardRun::Begin(const std::optional<clsError>& oFailure) {
    if (oFailure) {
        oEnd = RunEnd{.iClass = ClassOf(*oFailure), .oFailure = oFailure};
        return oFailure;
    }
    if (iPolicy == ePolicy::Repeat) {
        // Taken before the board's dialogue begins: erasing uses up the
        // sectors.
        oPrepared = oApp.Prepared();
    }
    // Another port number stored meanwhile must not move the run.
    iPort = oApp.CommSettings().Number();
    AwaitBoard();
    return std::nullopt;
}

void clsBoardRun::StopAsked() {
    if (oEnd) {
        return;
    }
    if (iPolicy == ePolicy::OneBoard) {
        oSequence.Stop();
    } else if (!BoardUnderWay()) {
        StopNow(eClass::Stopped);
    } else if (oSinceArmed.isValid()) {
        if (oSinceArmed.elapsed() >= lSameStopMs) {
            oSequence.Stop();
        }
    } else {
        oSinceArmed.start();
        StopAfterBoard(true);
    }
}

void clsBoardRun::InputEnded() {
    if (oEnd) {
        return;
    }
    if (BoardUnderWay()) {
        StopAfterBoard(false);
    } else {
        StopNow(eClass::Stopped);
    }
}

clsBoardRun::eClass clsBoardRun::ClassOf(clsUploadSequence::eEnding iEnding) {
    using Ending = clsUploadSequence::eEnding;
    switch (iEnding) {
    case Ending::Complete:
        return eClass::Done;
    case Ending::NoRecords:
        return eClass::NoRecords;
    case Ending::Stopped:
        return eClass::Stopped;
    case Ending::Declined:
        return eClass::Declined;
    case Ending::TimedOut:
    case Ending::BoardFailed:
    case Ending::LinkFailed:
    case Ending::UnknownReply:
        break;
    }
    return eClass::BoardFailed;
}

clsBoardRun::eClass clsBoardRun::ClassOf(const clsError& oFailure) {
    switch (mdlErrorTable::OfRun(oFailure).iClass) {
    case mdlErrorTable::eClass::Files:
        return eClass::FilesFailed;
    case mdlErrorTable::eClass::Declined:
        return eClass::Declined;
    case mdlErrorTable::eClass::Board:
    case mdlErrorTable::eClass::Link:
        break;
    }
    return eClass::BoardFailed;
}

void clsBoardRun::OnEnded(clsUploadSequence::eEnding iEnding, const QString& sBoxText) {
    if (bStoppingQuietly || oEnd) {
        return;
    }
    oWait.stop();
    BoardEnd oBoard{.iEnding = iEnding, .sBoxText = sBoxText, .bBoard = BoardAnswered(iEnding)};
    if (oBoard.bBoard) {
        // A board that took the image but got no record is not a good one.
        oBoard.bGood = iEnding == clsUploadSequence::eEnding::Complete;
        ++(oBoard.bGood ? oCount.lGood : oCount.lFailed);
        oBoard.lNumber = oCount.Boards();
    }
    emit BoardEnded(oBoard);
    // Nobody is there to click Stop.
    if (iEnding == clsUploadSequence::eEnding::UnknownReply) {
        StopQuietly();
    }
    if (bEndIncomplete) {
        emit BoardLeftIncomplete();
    }
    // Whoever heard of the board may have ended the run meanwhile.
    if (oEnd) {
        return;
    }
    if (iPolicy == ePolicy::OneBoard) {
        EndRun(ClassOf(iEnding));
    } else if (!oBoard.bBoard) {
        // Nothing but the line's failure ends the wait for a board.
        EndRun(eClass::BoardFailed);
    } else if (bStopAsked) {
        EndRun(Counted(eClass::Stopped));
    } else {
        oPause.start();
    }
}

void clsBoardRun::OnWaitOver() {
    // The board is there, and its upload under way or its warning open.
    if (oApp.AppState() != clsApplication::WaitTarget || oApp.Host().SerialPort().EventsHeld()) {
        return;
    }
    oCount.bWaitOver = true;
    emit WaitOver();
    StopNow(eClass::BoardFailed);
}

// As the technician's Reset and Run would.
void clsBoardRun::NextBoard() {
    oApp.Reset();
    oApp.CommSettings().SetNumber(iPort);
    if (const std::optional<clsError> oFailure = oSequence.Run(*oPrepared)) {
        oCount.oFailure = oFailure;
        EndRun(ClassOf(*oFailure));
    } else {
        AwaitBoard();
    }
}

void clsBoardRun::AwaitBoard() {
    if (oWait.interval() > 0) {
        oWait.start();
    }
}

bool clsBoardRun::BoardUnderWay() const {
    return clsApplication::IsWriting(oApp.AppState());
}

// A wrong target byte, and the warning that only a board's answer opens,
// are a board's too.
bool clsBoardRun::BoardAnswered(clsUploadSequence::eEnding iEnding) const {
    using Ending = clsUploadSequence::eEnding;
    return lEndState != clsApplication::WaitTarget || iEnding == Ending::BoardFailed ||
           iEnding == Ending::Declined;
}

void clsBoardRun::StopQuietly() {
    bStoppingQuietly = true;
    oSequence.Stop();
    bStoppingQuietly = false;
}

void clsBoardRun::StopAfterBoard(bool bAgainAbandons) {
    bStopAsked = true;
    emit EndsAfterBoard(oCount.Boards() + 1, bAgainAbandons);
}

void clsBoardRun::StopNow(eClass iWithoutBoards) {
    oPause.stop();
    oWait.stop();
    if (oApp.AppState() == clsApplication::WaitTarget) {
        StopQuietly();
    }
    EndRun(iPolicy == ePolicy::OneBoard ? iWithoutBoards : Counted(iWithoutBoards));
}

void clsBoardRun::EndRun(eClass iClass) {
    oCount.iClass = iClass;
    oEnd = oCount;
    emit RunEnded(*oEnd);
}

clsBoardRun::eClass clsBoardRun::Counted(eClass iWithoutBoards) const {
    if (oCount.Boards() == 0) {
        return iWithoutBoards;
    }
    return oCount.lFailed == 0 ? eClass::Done : eClass::BoardFailed;
}
