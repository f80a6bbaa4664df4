#pragma once

#include <QtGlobal>

#include <vector>

// One flag per cell, packed 64 to a word, so that the largest flash image
// keeps its two flags per byte in little memory and scans them a word at a
// time. Indexes run from 0 to Count() - 1; ranges are first to end - 1.
class clsFlagArray {
public:
    explicit clsFlagArray(qint32 lNewCount = 0);

    qint32 Count() const { return lCount; }
    bool Test(qint32 lIndex) const { return (aWords[lIndex / 64] >> (lIndex % 64) & 1) != 0; }
    void SetRange(qint32 lFirst, qint32 lEnd, bool bValue);
    // The first index of the range whose flag is bValue, or lEnd.
    qint32 Find(bool bValue, qint32 lFirst, qint32 lEnd) const;
    qint32 CountRaised() const;
    // Lowers every flag whose counterpart in oMask is lowered.
    void KeepWhere(const clsFlagArray& oMask);

private:
    std::vector<quint64> aWords;
    qint32 lCount;
};
