#include "tools/boardsim/clsBoardSession.h"

#include "tools/boardsim/clsPtyMaster.h"
#include "tools/boardsim/clsSimOptions.h"
#include "tools/boardsim/clsSimSummary.h"
#include "tools/boardsim/mdlStopSignals.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <poll.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

constexpr qint64 lNsPerMs = 1'000'000;
// A bare terminate record is whole once the line stays quiet this long.
constexpr qint64 lQuiet = 100 * lNsPerMs;
// How often a closed port is looked at, and the longest wait otherwise.
constexpr qint64 lClosedLook = lNsPerMs;
constexpr qint64 lLongestWait = 50 * lNsPerMs;

} // namespace

clsBoardSession::clsBoardSession(const clsSimOptions& oNewOptions, clsPtyMaster& oNewLine,
                                 clsBoardFlash& oFlash, clsSimSummary& oNewSummary)
    : oOptions(oNewOptions), oLine(oNewLine), oSummary(oNewSummary),
      oDialogue(oNewOptions.yTarget, oNewOptions.oFaults, oFlash, oNewSummary),
      oPacer(clsSimTarget::For(oNewOptions.yTarget).lBaudRate, oNewOptions.bPace) {}

void clsBoardSession::Run() {
    oClock.start();
    lTimeoutAt = qint64(oOptions.lTimeoutSeconds) * 1000 * lNsPerMs;
    bWatchEnter = oOptions.bOnEnter;
    if (oOptions.bPace) {
        // A reply is due when the line time is up, not the kernel's usual
        // 50 us of timer slack later.
        ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    }
    while (oSummary.sEnded.isEmpty()) {
        Wait();
        TakeInput();
        Advance();
        CheckEnd();
    }
    Finish();
}

qint64 clsBoardSession::NextWake() const {
    const qint64 lNow = Now();
    qint64 lWake = lNow + (bPortOpen ? lLongestWait : lClosedLook);
    const auto Consider = [&](qint64 lAt) {
        if (lAt > lNow) {
            lWake = std::min(lWake, lAt);
        }
    };
    Consider(lTimeoutAt);
    if (eNow == eState::Announcing && !oOptions.bOnEnter) {
        Consider(lAnnounceAt);
    }
    if (!aReplies.isEmpty()) {
        Consider(WriteAt());
    }
    if (!alArrivals.isEmpty()) {
        Consider(alArrivals.last());
        Consider(alArrivals.last() + lQuiet);
    }
    return lWake;
}

// A closed port reports a hang-up at once, so it is looked at again after
// a short sleep instead of waited on.
void clsBoardSession::Wait() {
    const qint64 lWait = std::max<qint64>(0, NextWake() - Now());
    const bool bEnter = bWatchEnter && eNow == eState::Announcing;
    pollfd aPoll[2] = {{bPortOpen ? oLine.Handle() : -1, POLLIN, 0},
                       {bEnter ? STDIN_FILENO : -1, POLLIN, 0}};
    const timespec oTimeout{time_t(lWait / (1000 * lNsPerMs)), long(lWait % (1000 * lNsPerMs))};
    ::ppoll(aPoll, 2, &oTimeout, mdlStopSignals::WaitMask());
    if (aPoll[1].revents != 0) {
        ReadEnter();
    }
}

void clsBoardSession::ReadEnter() {
    char aChunk[256];
    const ssize_t lRead = ::read(STDIN_FILENO, aChunk, sizeof aChunk);
    // At the end of the input no line can come any more.
    bWatchEnter = lRead > 0;
    if (lRead > 0 && std::memchr(aChunk, '\n', size_t(lRead)) != nullptr) {
        bEnterSeen = true;
    }
}

void clsBoardSession::TakeInput() {
    // Asked first: whatever was sent before a close can still be read after it.
    const bool bOpen = oLine.PeerIsOpen();
    const QByteArray aBytes = oLine.ReadWaiting();
    const qint64 lNow = Now();
    if (!aBytes.isEmpty() && lRepliedAt >= 0) {
        oSummary.alTurnarounds.append(lNow - lRepliedAt);
        lRepliedAt = -1;
    }
    bBegun = bBegun || (!aBytes.isEmpty() && eNow >= eState::WaitingForAnswer);
    for (qsizetype i = 0; i < aBytes.size(); ++i) {
        alArrivals.append(oPacer.Arrival(lNow));
    }
    aInput.append(aBytes);
    if (bOpen && !bPortOpen) {
        PortOpened();
    } else if (!bOpen && bPortOpen) {
        PortClosed();
    }
}

void clsBoardSession::PortOpened() {
    bPortOpen = true;
    ++oSummary.lPortOpens;
    if (eNow == eState::WaitingForPort) {
        eNow = eState::Announcing;
        lAnnounceAt = Now() + oOptions.lDelayMs * lNsPerMs;
    }
}

// Replies due later would be lost on a closed line; a reply written before
// the close does not time the next line.
void clsBoardSession::PortClosed() {
    bPortOpen = false;
    lClosedAt = Now();
    aReplies.clear();
    lRepliedAt = -1;
    if (eNow == eState::Announcing) {
        eNow = eState::WaitingForPort;
    }
}

void clsBoardSession::Advance() {
    if (eNow == eState::Announcing && AnnounceDue()) {
        Announce();
    }
    if (eNow == eState::WaitingForAnswer) {
        TakeAnswer();
    }
    if (eNow == eState::TakingLines) {
        TakeLines(Now());
        TakeLeftOver();
        SendDueReplies();
    }
}

bool clsBoardSession::AnnounceDue() const {
    return oOptions.bOnEnter ? bEnterSeen : Now() >= lAnnounceAt;
}

void clsBoardSession::Announce() {
    Consume(aInput.size());
    oLine.Write(QByteArray(1, char(oOptions.yAnnounce)));
    oSummary.lTargetByteAt = Now();
    eNow = eState::WaitingForAnswer;
}

void clsBoardSession::TakeAnswer() {
    if (aInput.size() >= 2 && alArrivals[1] <= Now()) {
        oDialogue.AnswerReceived(aInput.left(2), oLine.BaudRate());
        Consume(2);
        eNow = eState::TakingLines;
    }
}

void clsBoardSession::TakeLines(qint64 lUpTo) {
    for (qsizetype lEnd = aInput.indexOf('\0'); lEnd >= 0 && alArrivals[lEnd] <= lUpTo;
         lEnd = aInput.indexOf('\0')) {
        const QByteArray aLine = aInput.left(lEnd);
        const qint64 lAt = alArrivals[lEnd];
        Consume(lEnd + 1);
        oSummary.lLastLineAt = lAt;
        Schedule(oDialogue.LineReceived(aLine), lAt);
    }
}

// Bytes with no 0x00 after them are a line once the port closes, or the
// bare terminate record once the line stays quiet.
void clsBoardSession::TakeLeftOver() {
    if (aInput.isEmpty() || aInput.contains('\0') || alArrivals.last() > Now()) {
        return;
    }
    const bool bQuiet = Now() - alArrivals.last() >= lQuiet;
    if (!bPortOpen || (bQuiet && oDialogue.IsBareTerminate(aInput))) {
        oSummary.lLastLineAt = alArrivals.last();
        oDialogue.LeftOver(aInput);
        Consume(aInput.size());
    }
}

void clsBoardSession::Schedule(const clsLoaderDialogue::Reply& oReply, qint64 lLineAt) {
    if (!oReply.aText.isEmpty() || oReply.bHangUp) {
        aReplies.append(
            {oReply.aText,
             lLineAt + oPacer.CharsTime(oReply.aText.size()) + oReply.lDelayMs * lNsPerMs,
             oReply.bHangUp});
    }
}

qint64 clsBoardSession::WriteAt() const {
    return aReplies.first().lAt - oPacer.WriteLead();
}

void clsBoardSession::SendDueReplies() {
    while (!aReplies.isEmpty() && WriteAt() <= Now()) {
        const qint64 lWriteAt = WriteAt();
        const PendingReply oReply = aReplies.takeFirst();
        if (oReply.bHangUp) {
            oLine.HangUp();
            oSummary.sEnded = QStringLiteral("hangup");
            return;
        }
        oLine.Write(oReply.aText);
        lRepliedAt = Now();
        oPacer.WriteTook(lRepliedAt - lWriteAt);
        // Until the write is done: only then can the program see the reply.
        const qint64 lLate = lRepliedAt - oReply.lAt;
        (lLate > 0 ? oSummary.lRepliesLate : oSummary.lRepliesEarly) += std::abs(lLate);
    }
}

void clsBoardSession::CheckEnd() {
    if (!oSummary.sEnded.isEmpty()) {
        return;
    }
    if (mdlStopSignals::Raised()) {
        oSummary.sEnded = QStringLiteral("signal");
    } else if (Now() >= lTimeoutAt) {
        oSummary.sEnded = QStringLiteral("timeout");
    } else if (IsUnderWay() && !bPortOpen && Now() - lClosedAt >= oOptions.lLingerMs * lNsPerMs) {
        oSummary.sEnded = QStringLiteral("linger");
    }
}

// With more boards to play, a board that announced itself is done once its
// port stays closed, answered or not: the program under test has moved on.
bool clsBoardSession::IsUnderWay() const {
    return bBegun || (oOptions.lBoards > 1 && eNow >= eState::WaitingForAnswer);
}

// What came and was not yet taken when the session ended.
void clsBoardSession::Finish() {
    if (eNow == eState::WaitingForAnswer && !aInput.isEmpty()) {
        oDialogue.AnswerReceived(aInput.left(2), oLine.BaudRate());
        Consume(std::min<qsizetype>(aInput.size(), 2));
        eNow = eState::TakingLines;
    }
    if (eNow == eState::TakingLines) {
        TakeLines(std::numeric_limits<qint64>::max());
        if (!aInput.isEmpty()) {
            oDialogue.LeftOver(aInput);
        }
    }
}

void clsBoardSession::Consume(qsizetype lCount) {
    aInput.remove(0, lCount);
    alArrivals.remove(0, lCount);
}
