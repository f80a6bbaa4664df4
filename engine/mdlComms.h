#pragma once

#include <QtGlobal>

// The serial link between the engine and the board.
namespace mdlComms {

// The line speed a target's loader runs at.
qint32 BaudRateFor(quint8 yTargetID);

} // namespace mdlComms
