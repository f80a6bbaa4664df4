#include "records/clsFlagArray.h"

#include <algorithm>
#include <bit>

clsFlagArray::clsFlagArray(qint32 lNewCount) : aWords((lNewCount + 63) / 64), lCount(lNewCount) {}

void clsFlagArray::SetRange(qint32 lFirst, qint32 lEnd, bool bValue) {
    if (lFirst >= lEnd) {
        return;
    }
    const qint32 lFirstWord = lFirst / 64;
    const qint32 lLastWord = (lEnd - 1) / 64;
    // Masks of the bits from lFirst on in the first word and before lEnd in
    // the last; the words between are filled whole.
    const quint64 lHead = ~quint64(0) << (lFirst % 64);
    const quint64 lTail = ~quint64(0) >> (63 - (lEnd - 1) % 64);
    const auto oApply = [bValue](quint64& lWord, quint64 lMask) {
        lWord = bValue ? lWord | lMask : lWord & ~lMask;
    };
    if (lFirstWord == lLastWord) {
        oApply(aWords[lFirstWord], lHead & lTail);
        return;
    }
    oApply(aWords[lFirstWord], lHead);
    std::fill(aWords.begin() + lFirstWord + 1, aWords.begin() + lLastWord,
              bValue ? ~quint64(0) : quint64(0));
    oApply(aWords[lLastWord], lTail);
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
