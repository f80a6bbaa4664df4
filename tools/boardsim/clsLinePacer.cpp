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
