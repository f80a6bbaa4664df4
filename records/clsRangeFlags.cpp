#include "records/clsRangeFlags.h"

#include <algorithm>
#include <iterator>
#include <map>

namespace {

// Notes kept before they are painted at the latest, so that the notes of a
// huge command file cannot fill memory.
constexpr size_t lMostPending = 1 << 16;

// Runs already painted, first -> end, disjoint and merged.
using PaintedRuns = std::map<qint32, qint32>;

// The painted run that holds or follows lIndex.
PaintedRuns::iterator RunAtOrAfter(PaintedRuns& oPainted, qint32 lIndex) {
    auto oRun = oPainted.upper_bound(lIndex);
    if (oRun != oPainted.begin() && std::prev(oRun)->second >= lIndex) {
        --oRun;
    }
    return oRun;
}

} // namespace

void clsRangeFlags::SetRange(qint32 lFirst, qint32 lEnd, bool bValue) {
    aPending.push_back({lFirst, lEnd, bValue});
    if (aPending.size() >= lMostPending) {
        Settle();
    }
}

const clsFlagArray& clsRangeFlags::Flags() const {
    if (!aPending.empty()) {
        Settle();
    }
    return aFlags;
}

void clsRangeFlags::Settle() const {
    // A flag keeps the value of the last range that covers it: going back
    // from the last range, each paints only what no later range painted.
    PaintedRuns oPainted;
    for (auto oRange = aPending.rbegin(); oRange != aPending.rend(); ++oRange) {
        qint32 lFirst = oRange->lFirst;
        qint32 lEnd = oRange->lEnd;
        qint32 lGap = lFirst;
        auto oRun = RunAtOrAfter(oPainted, lFirst);
        for (; oRun != oPainted.end() && oRun->first <= lEnd; oRun = oPainted.erase(oRun)) {
            aFlags.SetRange(lGap, std::min(oRun->first, oRange->lEnd), oRange->bValue);
            lGap = oRun->second;
            lFirst = std::min(lFirst, oRun->first);
            lEnd = std::max(lEnd, oRun->second);
        }
        aFlags.SetRange(lGap, oRange->lEnd, oRange->bValue);
        oPainted.emplace(lFirst, lEnd);
    }
    aPending.clear();
}
