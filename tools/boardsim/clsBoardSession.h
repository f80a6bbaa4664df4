#pragma once

#include "tools/boardsim/clsLinePacer.h"
#include "tools/boardsim/clsLoaderDialogue.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>

struct clsSimOptions;
class clsPtyMaster;
class clsBoardFlash;
struct clsSimSummary;

// The board on its line for one session: waits for the program under test
// to open the port, announces itself, takes the answer and then the lines,
// until the port stays closed, a stop signal, the time-out or a hang-up.
// Boards played one after the other each get a session on the same line.
// The program under test may close and reopen the port at any time.
class clsBoardSession {
public:
    clsBoardSession(const clsSimOptions& oNewOptions, clsPtyMaster& oNewLine, clsBoardFlash& oFlash,
                    clsSimSummary& oNewSummary);

    // Leaves the reason it ended in the summary.
    void Run();

private:
    enum class eState : qint16 { WaitingForPort, Announcing, WaitingForAnswer, TakingLines };
    struct PendingReply {
        QByteArray aText;
        qint64 lAt;
        bool bHangUp;
    };

    qint64 Now() const { return oClock.nsecsElapsed(); }
    qint64 NextWake() const;
    void Wait();
    void ReadEnter();
    void TakeInput();
    void PortOpened();
    void PortClosed();
    void Advance();
    bool AnnounceDue() const;
    void Announce();
    void TakeAnswer();
    void TakeLines(qint64 lUpTo);
    void TakeLeftOver();
    void Schedule(const clsLoaderDialogue::Reply& oReply, qint64 lLineAt);
    // When the write of the first reply waiting is to start.
    qint64 WriteAt() const;
    void SendDueReplies();
    // Whether a port that stays closed ends the session.
    bool IsUnderWay() const;
    void CheckEnd();
    void Finish();
    void Consume(qsizetype lCount);

    const clsSimOptions& oOptions;
    clsPtyMaster& oLine;
    clsSimSummary& oSummary;
    clsLoaderDialogue oDialogue;
    clsLinePacer oPacer;
    QElapsedTimer oClock;
    qint64 lTimeoutAt = 0;
    eState eNow = eState::WaitingForPort;
    bool bPortOpen = false;
    bool bBegun = false; // a byte came after the target byte
    qint64 lClosedAt = 0;
    qint64 lAnnounceAt = 0;
    bool bWatchEnter = false;
    bool bEnterReady = false;
    bool bEnterSeen = false;
    // What came and is not yet taken, with when each byte arrived.
    QByteArray aInput;
    QList<qint64> alArrivals;
    QList<PendingReply> aReplies;
    qint64 lRepliedAt = -1; // until the next line's first byte
};
