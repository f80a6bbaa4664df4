#include "tools/boardsim/clsSimTarget.h"

#include <algorithm>
#include <iterator>

namespace {

struct Row {
    quint8 yTargetID;
    clsSimTarget oTarget;
};

// One row per id, as the protocol lists them.
// clang-format off
constexpr Row aRows[] = {
    {18, {32768, 19200, 0, 1, 8, "", false}},
    {19, {524288, 57600, 0, 3, 64, "", false}},
    {20, {524288, 57600, 0, 3, 64, "", false}},
    {21, {4259840, 57600, 0, 3, 64, "S70500001F4794", false}},
    {22, {65536, 19200, 1, 1, 8, "S9030000FC", true}},
    {24, {65536, 19200, 1, 1, 8, "S9030000FC", true}},
};
// clang-format on

constexpr clsSimTarget oNone{0, 57600, 0, 3, 64, "", false};

} // namespace

const clsSimTarget& clsSimTarget::For(quint8 yTargetID) {
    const Row* pRow = std::find_if(std::begin(aRows), std::end(aRows),
                                   [&](const Row& o) { return o.yTargetID == yTargetID; });
    return pRow == std::end(aRows) ? oNone : pRow->oTarget;
}
