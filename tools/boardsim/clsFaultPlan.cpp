#include "tools/boardsim/clsFaultPlan.h"

#include <QStringList>

namespace {

using eFault = clsFaultPlan::eFault;

struct FaultName {
    const char* sName;
    eFault eKind;
};

constexpr FaultName aNames[] = {
    {"resend", eFault::Resend},
    {"resend-always", eFault::ResendAlways},
    {"program-error", eFault::ProgramError},
    {"garbage", eFault::Garbage},
    {"lowercase", eFault::Lowercase},
    {"noise", eFault::Noise},
    {"slow", eFault::Slow},
    {"silence", eFault::Silence},
    {"hangup", eFault::HangUp},
};

eFault KindNamed(const QString& sName) {
    for (const FaultName& oName : aNames) {
        if (sName == QLatin1String(oName.sName)) {
            return oName.eKind;
        }
    }
    return eFault::None;
}

// Only a slow reply takes an argument, and it must have one.
bool ReadArgument(eFault eKind, const QStringList& asParts, qint32& lSlowMs) {
    if (eKind != eFault::Slow) {
        return asParts.size() == 2;
    }
    bool bNumber = false;
    lSlowMs = asParts.value(2).toInt(&bNumber);
    return asParts.size() == 3 && bNumber && lSlowMs >= 0;
}

// [B/]N: board B from 1, or 0 for every board, and line N from 1.
bool ReadPlace(const QString& sPlace, qint32& lBoard, qint32& lLine) {
    const QStringList asNumbers = sPlace.split(u'/');
    bool bBoard = true;
    bool bLine = false;
    lBoard = asNumbers.size() == 2 ? asNumbers.first().toInt(&bBoard) : 0;
    lLine = asNumbers.last().toInt(&bLine);
    return asNumbers.size() <= 2 && bBoard && bLine && lLine >= 1 &&
           (asNumbers.size() == 1 || lBoard >= 1);
}

} // namespace

bool clsFaultPlan::Add(const QString& sText) {
    const QStringList asParts = sText.split(u':');
    qint32 lBoard = 0;
    qint32 lLine = 0;
    Fault oFault{KindNamed(asParts.value(1)), 0};
    if (!ReadPlace(asParts.first(), lBoard, lLine) || oFault.eKind == eFault::None ||
        !ReadArgument(oFault.eKind, asParts, oFault.lSlowMs)) {
        return false;
    }
    QHash<qint32, Fault>& aLines = lBoard == 0 ? aFaults : aBoardFaults[lBoard];
    if (aLines.contains(lLine)) {
        return false;
    }
    aLines.insert(lLine, oFault);
    return true;
}

clsFaultPlan clsFaultPlan::ForBoard(qint32 lBoard) const {
    clsFaultPlan oPlan;
    oPlan.aFaults = aFaults;
    oPlan.aFaults.insert(aBoardFaults.value(lBoard));
    return oPlan;
}
