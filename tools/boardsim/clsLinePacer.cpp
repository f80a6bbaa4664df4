#include "tools/boardsim/clsLinePacer.h"

#include <algorithm>

namespace {

constexpr qint64 lBitsPerChar = 10;
constexpr qint64 lNsPerSecond = 1'000'000'000;

} // namespace

clsLinePacer::clsLinePacer(qint32 lBaudRate, bool bPace)
    : lCharTime(bPace ? lBitsPerChar * lNsPerSecond / lBaudRate : 0) {}

qint64 clsLinePacer::Arrival(qint64 lReadAt) {
    lLineFreeAt = std::max(lReadAt, lLineFreeAt) + lCharTime;
    return lLineFreeAt;
}

qint64 clsLinePacer::WriteLead() const {
    const auto pEnd = alTook.begin() + std::min<qsizetype>(lWrites, qsizetype(alTook.size()));
    return lWrites == 0 ? 0 : *std::min_element(alTook.begin(), pEnd);
}

// Unpaced, every reply is due at once and nothing is to be made up.
void clsLinePacer::WriteTook(qint64 lTook) {
    if (lCharTime > 0) {
        alTook[size_t(lWrites++ % qsizetype(alTook.size()))] = lTook;
    }
}
