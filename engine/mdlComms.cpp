#include "mdlComms.h"

namespace mdlComms {

qint32 BaudRateFor(quint8 yTargetID) {
    switch (yTargetID) {
    case 18:
    case 22:
    case 24:
        return 19200;
    default:
        return 57600;
    }
}

} // namespace mdlComms
