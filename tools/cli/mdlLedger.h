#pragma once

#include <QByteArrayList>

class clsConsole;

// The ledger verb: the uploads the window and the upload verb recorded,
// newest last, as a table or as the ledger's lines of JSON.
namespace mdlLedger {

// aArguments are those after the verb; returns the exit status.
int Run(clsConsole& oConsole, const QByteArrayList& aArguments);

} // namespace mdlLedger
