#pragma once

#include <QHash>
#include <QString>

// The faults the board plays, by the number of the line they strike: the
// first line after the answer is line 1, and a line sent again on the
// board's request keeps its number. A fault strikes every board, or one
// board of several: its own faults take the place of those for every board.
class clsFaultPlan {
public:
    enum class eFault : qint16 {
        None,
        Resend,
        ResendAlways,
        ProgramError,
        Garbage,
        Lowercase,
        Noise,
        Slow,
        Silence,
        HangUp,
    };
    struct Fault {
        eFault eKind = eFault::None;
        qint32 lSlowMs = 0;
    };

    // Adds a fault written [B/]N:KIND[:ARG], for board B (from 1) or every
    // board; false when the text names none or line N has one already.
    bool Add(const QString& sText);
    // The faults board lBoard plays.
    clsFaultPlan ForBoard(qint32 lBoard) const;
    Fault At(qint32 lLine) const { return aFaults.value(lLine); }

private:
    // For every board, by line.
    QHash<qint32, Fault> aFaults;
    // By board, then by line.
    QHash<qint32, QHash<qint32, Fault>> aBoardFaults;
};
