#pragma once

#include <QByteArrayList>

class clsConsole;

// The upload verb: prepares an application file, opens the port and
// uploads to the board as the window's Run does, printing the status log.
namespace mdlUpload {

// aArguments are those after the verb, as the system gave them; returns
// the exit status.
int Run(clsConsole& oConsole, const QByteArrayList& aArguments);

} // namespace mdlUpload
