#pragma once

#include <QByteArrayList>

class clsConsole;

// The ports verb: which device each port number stands for, the serial
// devices of this machine, and binding or unbinding a number.
namespace mdlPorts {

// aArguments are those after the verb; returns the exit status.
int Run(clsConsole& oConsole, const QByteArrayList& aArguments);

} // namespace mdlPorts
