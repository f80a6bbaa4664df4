#include "records/clsBoardTarget.h"

namespace {

constexpr clsBoardTarget oSmall{0x7FFF, 1, 8, 19200, false, "", false};
constexpr clsBoardTarget oMedium{0x7FFFF, 3, 64, 57600, false, "", false};
constexpr clsBoardTarget oLarge{0x40FFFF, 3, 64, 57600, false, "S70500001F4794", false};
constexpr clsBoardTarget oAnsweredPlusOne{0xFFFF, 1, 8, 19200, true, "S9030000FC", true};
constexpr clsBoardTarget oUnknown{0, 3, 64, 57600, false, "", false};

} // namespace

const clsBoardTarget& clsBoardTarget::For(quint8 yTargetID) {
    switch (yTargetID) {
    case 18:
        return oSmall;
    case 19:
    case 20:
        return oMedium;
    case 21:
        return oLarge;
    case 22:
    case 24:
        return oAnsweredPlusOne;
    default:
        return oUnknown;
    }
}
