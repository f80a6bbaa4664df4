#pragma once

#include "records/clsJRT_SRecord.h"
#include "tools/boardsim/clsFaultPlan.h"
#include "tools/boardsim/clsSimTarget.h"

#include <QByteArray>
#include <QSet>

class clsBoardFlash;
struct clsSimSummary;

// The board's loader once it has announced itself: checks the answer,
// carries out erase commands and data records and answers them, and plays
// the faults asked of it. Time and the port are not its business.
class clsLoaderDialogue {
public:
    struct Reply {
        QByteArray aText; // empty: no reply
        qint32 lDelayMs = 0;
        bool bHangUp = false;
    };

    clsLoaderDialogue(quint8 yNewTargetID, const clsFaultPlan& oNewFaults, clsBoardFlash& oNewFlash,
                      clsSimSummary& oNewSummary);

    // lBaudRate: the speed the program under test set on its port.
    void AnswerReceived(const QByteArray& aAnswer, qint32 lBaudRate);
    // A line that ended with 0x00, given without it.
    Reply LineReceived(const QByteArray& aLine);
    // Bytes without a 0x00 after them, left when the port closed or went
    // quiet: a terminate record sent bare, or a line cut short.
    void LeftOver(const QByteArray& aBytes);
    // aBytes are the whole terminate record of a target that sends it bare.
    bool IsBareTerminate(const QByteArray& aBytes) const;

private:
    enum class eLine : qint16 { Erase, Data, Terminate, Bad };

    void NextLine();
    eLine Classify(const QByteArray& aLine, clsJRT_SRecord& oRecord, QString& sWhy) const;
    Reply ReplyFor(bool bGood);
    void CarryOut(eLine eKind, const clsJRT_SRecord& oRecord);
    void TerminateSeen(const QByteArray& aText, bool bEndedByZero);

    const quint8 yTargetID;
    const clsSimTarget& oTarget;
    const clsFaultPlan& oFaults;
    clsBoardFlash& oFlash;
    clsSimSummary& oSummary;
    qint32 lLine = 0;
    bool bResendAsked = false;  // the next line is line lLine again
    QSet<qint32> alResendAsked; // lines whose one resend was asked for
};
