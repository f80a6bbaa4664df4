#pragma once

#include "records/clsFlagArray.h"

#include <vector>

// Flags that whole ranges set or clear, as the command file's region lines
// do. A range is only noted; the notes are painted onto the flags when a
// flag is next read, from the last range back to the first, so that each
// flag is written once however many ranges cover it. A command file of a
// million lines over the largest image then costs a moment, not minutes.
class clsRangeFlags {
public:
    explicit clsRangeFlags(qint32 lCount = 0) : aFlags(lCount) {}

    // Ranges are first to end - 1.
    void SetRange(qint32 lFirst, qint32 lEnd, bool bValue);
    // The flags with every noted range applied.
    const clsFlagArray& Flags() const;

private:
    struct Range {
        qint32 lFirst;
        qint32 lEnd;
        bool bValue;
    };
    void Settle() const;

    // Painting is deferred, not part of the value the flags stand for.
    mutable clsFlagArray aFlags;
    mutable std::vector<Range> aPending;
};
