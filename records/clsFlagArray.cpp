#include "records/clsFlagArray.h"

#include <algorithm>
#include <bit>

clsFlagArray::clsFlagArray(qint32 lNewCount) : aWords((lNewCount + 63) / 64), lCount(lNewCount) {}

void clsFlagArray::SetRange(qint32 lFirst, qint32 lEnd, bool bValue) {
    for (qint32 lIndex = lFirst; lIndex < lEnd;) {
        const int iShift = lIndex % 64;
        const int iBits = std::min(64 - iShift, lEnd - lIndex);
        const quint64 lMask = (iBits == 64 ? ~quint64(0) : (quint64(1) << iBits) - 1) << iShift;
        quint64& lWord = aWords[lIndex / 64];
        lWord = bValue ? lWord | lMask : lWord & ~lMask;
        lIndex += iBits;
    }
}

qint32 clsFlagArray::Find(bool bValue, qint32 lFirst, qint32 lEnd) const {
    const quint64 lFlip = bValue ? 0 : ~quint64(0);
    for (qint32 lIndex = lFirst; lIndex < lEnd;) {
        const int iShift = lIndex % 64;
        const quint64 lMatches = (aWords[lIndex / 64] ^ lFlip) >> iShift;
        if (lMatches != 0) {
            return std::min(lEnd, lIndex + std::countr_zero(lMatches));
        }
        lIndex += 64 - iShift;
    }
    return lEnd;
}

qint32 clsFlagArray::CountRaised() const {
    qint32 lRaised = 0;
    for (quint64 lWord : aWords) {
        lRaised += std::popcount(lWord);
    }
    return lRaised;
}

void clsFlagArray::KeepWhere(const clsFlagArray& oMask) {
    std::transform(aWords.begin(), aWords.end(), oMask.aWords.begin(), aWords.begin(),
                   [](quint64 lWord, quint64 lMaskWord) { return lWord & lMaskWord; });
}
