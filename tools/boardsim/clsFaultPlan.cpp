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

} // namespace

bool clsFaultPlan::Add(const QString& sText) {
    const QStringList asParts = sText.split(u':');
    bool bNumber = false;
    const qint32 lLine = asParts.first().toInt(&bNumber);
    Fault oFault{KindNamed(asParts.value(1)), 0};
    if (!bNumber || lLine < 1 || aFaults.contains(lLine) || oFault.eKind == eFault::None ||
        !ReadArgument(oFault.eKind, asParts, oFault.lSlowMs)) {
        return false;
    }
    aFaults.insert(lLine, oFault);
    return true;
}
