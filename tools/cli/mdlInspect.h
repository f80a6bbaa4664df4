#pragma once

#include <QByteArrayList>

class clsConsole;

// The inspect verb: prepares an application file exactly as Run does and
// tells what an upload of it would do.
namespace mdlInspect {

// aArguments are those after the verb, as the system gave them; returns
// the exit status.
int Run(clsConsole& oConsole, const QByteArrayList& aArguments);

} // namespace mdlInspect
