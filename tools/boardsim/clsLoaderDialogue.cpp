#include "tools/boardsim/clsLoaderDialogue.h"

#include "core/clsError.h"
#include "tools/boardsim/clsBoardFlash.h"
#include "tools/boardsim/clsSimSummary.h"

namespace {

using eFault = clsFaultPlan::eFault;

const QByteArray aAcknowledge = "S60500000009F1";
const QByteArray aResend = "S60500000002F8";
const QByteArray aProgramError = "S60500000008F2";
// A record of the reply's length that is none of the three replies.
const QByteArray aGarbage = "S6050000000AF0";
const QByteArray aLowercase = "s60500000009f1";
// Line noise of the reply's length, with bytes a terminal acts on.
const QByteArray aNoise = "\x1B"
                          "c\x0E\rS605000000";

constexpr quint8 yEraseMark = 0x80;

bool IsErase(const clsJRT_SRecord& oRecord) {
    const std::span<const quint8> aData = oRecord.LeadingData();
    return oRecord.Address() == 0 && aData.size() == 2 && aData[0] == yEraseMark;
}

// What the board answers under eKind instead of aOwn.
QByteArray FaultText(eFault eKind, const QByteArray& aOwn) {
    switch (eKind) {
    case eFault::ResendAlways:
        return aResend;
    case eFault::ProgramError:
        return aProgramError;
    case eFault::Garbage:
        return aGarbage;
    case eFault::Lowercase:
        return aLowercase;
    case eFault::Noise:
        return aNoise;
    case eFault::Silence:
    case eFault::HangUp:
        return {};
    default:
        return aOwn;
    }
}

// Whether the board took the line: refused, it is neither written nor erased.
bool Takes(const clsLoaderDialogue::Reply& oReply) {
    return !oReply.bHangUp && oReply.aText != aResend && oReply.aText != aProgramError;
}

} // namespace

clsLoaderDialogue::clsLoaderDialogue(quint8 yNewTargetID, const clsFaultPlan& oNewFaults,
                                     clsBoardFlash& oNewFlash, clsSimSummary& oNewSummary)
    : yTargetID(yNewTargetID), oTarget(clsSimTarget::For(yNewTargetID)), oFaults(oNewFaults),
      oFlash(oNewFlash), oSummary(oNewSummary) {}

void clsLoaderDialogue::AnswerReceived(const QByteArray& aAnswer, qint32 lBaudRate) {
    const char aExpected[] = {char(yTargetID + oTarget.yAnswerAdded), '\0'};
    oSummary.aAnswer = aAnswer;
    oSummary.bAnswerRight = aAnswer == QByteArrayView(aExpected, 2);
    oSummary.lBaudRate = lBaudRate;
    oSummary.bBaudRight = lBaudRate == oTarget.lBaudRate;
}

clsLoaderDialogue::Reply clsLoaderDialogue::LineReceived(const QByteArray& aLine) {
    NextLine();
    clsJRT_SRecord oRecord;
    QString sWhy;
    const eLine eKind = Classify(aLine, oRecord, sWhy);
    if (eKind == eLine::Terminate) {
        TerminateSeen(aLine, true);
        return {};
    }
    if (eKind == eLine::Bad) {
        oSummary.aBadLines.append({lLine, aLine, sWhy});
    }
    const Reply oReply = ReplyFor(eKind != eLine::Bad);
    if (oReply.aText == aResend) {
        ++oSummary.lResendRequests;
        bResendAsked = true;
    }
    if (eKind != eLine::Bad && Takes(oReply)) {
        CarryOut(eKind, oRecord);
    }
    return oReply;
}

void clsLoaderDialogue::LeftOver(const QByteArray& aBytes) {
    NextLine();
    const QByteArray aTerminate(oTarget.sTerminateRecord);
    if (!aTerminate.isEmpty() && aTerminate.startsWith(aBytes)) {
        TerminateSeen(aBytes, false);
    } else {
        oSummary.aBadLines.append({lLine, aBytes, QStringLiteral("cut short: no 0x00 after it")});
    }
}

bool clsLoaderDialogue::IsBareTerminate(const QByteArray& aBytes) const {
    return !oTarget.bZeroAfterTerminate && !aBytes.isEmpty() && aBytes == oTarget.sTerminateRecord;
}

void clsLoaderDialogue::NextLine() {
    ++oSummary.lLines;
    if (!bResendAsked) {
        ++lLine;
    }
    bResendAsked = false;
}

clsLoaderDialogue::eLine clsLoaderDialogue::Classify(const QByteArray& aLine,
                                                     clsJRT_SRecord& oRecord, QString& sWhy) const {
    try {
        oRecord.SetRecord(QString::fromLatin1(aLine));
    } catch (const clsError& oError) {
        sWhy = oError.Description();
        return eLine::Bad;
    }
    const qint16 iType = oRecord.RecType();
    if (iType >= 7) {
        return eLine::Terminate;
    }
    if (iType == 6) {
        sWhy = QStringLiteral("an S6 line that is no erase command");
        return IsErase(oRecord) ? eLine::Erase : eLine::Bad;
    }
    if (iType >= 1 && iType <= 3) {
        if (iType != oTarget.iRecType ||
            qsizetype(oRecord.LeadingData().size()) > oTarget.iMaxData) {
            sWhy = QStringLiteral("not of the shape the target takes");
            return eLine::Bad;
        }
        sWhy = QStringLiteral("outside the flash");
        return oFlash.Fits(oRecord.Address(), qsizetype(oRecord.LeadingData().size())) ? eLine::Data
                                                                                       : eLine::Bad;
    }
    sWhy = QStringLiteral("a record the loader has no use for");
    return eLine::Bad;
}

clsLoaderDialogue::Reply clsLoaderDialogue::ReplyFor(bool bGood) {
    const clsFaultPlan::Fault oFault = oFaults.At(lLine);
    QByteArray aOwn = bGood ? aAcknowledge : aResend;
    if (oFault.eKind == eFault::Resend && !alResendAsked.contains(lLine)) {
        alResendAsked.insert(lLine);
        aOwn = aResend;
    }
    return {FaultText(oFault.eKind, aOwn), oFault.eKind == eFault::Slow ? oFault.lSlowMs : 0,
            oFault.eKind == eFault::HangUp};
}

void clsLoaderDialogue::CarryOut(eLine eKind, const clsJRT_SRecord& oRecord) {
    if (eKind == eLine::Erase) {
        oSummary.alEraseSectors.append(oRecord.Data(1));
    } else {
        oFlash.Write(oRecord.Address(), oRecord.LeadingData());
        ++oSummary.lDataRecords;
    }
}

void clsLoaderDialogue::TerminateSeen(const QByteArray& aText, bool bEndedByZero) {
    oSummary.bTerminateSeen = true;
    oSummary.bTerminateWhole = aText == oTarget.sTerminateRecord && !aText.isEmpty() &&
                               bEndedByZero == oTarget.bZeroAfterTerminate;
}
