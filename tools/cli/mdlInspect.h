#pragma once

#include <QStringList>

// The inspect verb: prepares an application file exactly as Run does and
// tells what an upload of it would do.
namespace mdlInspect {

// asArguments are those after the verb; returns the exit status.
int Run(const QStringList& asArguments);

} // namespace mdlInspect
