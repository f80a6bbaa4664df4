#pragma once

#include <QtGlobal>

#include <array>

// The time characters take on the target's line, 10 bits each; with
// pacing off, none. Times are nanoseconds on the session's clock.
class clsLinePacer {
public:
    clsLinePacer(qint32 lBaudRate, bool bPace);

    // When a byte read at lReadAt could have arrived whole: after the line
    // has carried every byte before it, and its own 10 bits.
    qint64 Arrival(qint64 lReadAt);
    qint64 CharsTime(qint64 lChars) const { return lChars * lCharTime; }

    // A board's UART hands a reply over the moment its last bit is in; the
    // simulator's wake-up and write take time of their own. A reply's write
    // starts this much before it is due: the least they took lately, so
    // that a reply is seldom early, and then by little.
    qint64 WriteLead() const;
    void WriteTook(qint64 lTook);

private:
    qint64 lCharTime;
    qint64 lLineFreeAt = 0;
    std::array<qint64, 16> alTook{};
    qsizetype lWrites = 0;
};
