#pragma once

#include <QtGlobal>

// The time characters take on the target's line, 10 bits each; with
// pacing off, none. Times are nanoseconds on the session's clock.
class clsLinePacer {
public:
    clsLinePacer(qint32 lBaudRate, bool bPace);

    // When a byte read at lReadAt could have arrived whole: after the line
    // has carried every byte before it, and its own 10 bits.
    qint64 Arrival(qint64 lReadAt);
    qint64 CharsTime(qint64 lChars) const { return lChars * lCharTime; }

private:
    qint64 lCharTime;
    qint64 lLineFreeAt = 0;
};
