#pragma once

#include <QHash>
#include <QString>

// The faults the board plays, by the number of the line they strike: the
// first line after the answer is line 1, and a line sent again on the
// board's request keeps its number.
class clsFaultPlan {
public:
    enum class eFault : qint16 {
        None,
        Resend,
        ResendAlways,
        ProgramError,
        Garbage,
        Lowercase,
        Slow,
        Silence,
        HangUp,
    };
    struct Fault {
        eFault eKind = eFault::None;
        qint32 lSlowMs = 0;
    };

    // Adds a fault written N:KIND[:ARG]; false when the text names none or
    // line N has one already.
    bool Add(const QString& sText);
    Fault At(qint32 lLine) const { return aFaults.value(lLine); }

private:
    QHash<qint32, Fault> aFaults;
};
