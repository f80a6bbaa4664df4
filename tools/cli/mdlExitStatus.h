#pragma once

#include "core/clsError.h"
#include "engine/clsBoardRun.h"

class clsConsole;

// The exit status of every verb of the headless command, so that a script
// can tell what went wrong without reading the words.
namespace mdlExitStatus {

enum eStatus : int {
    // The upload complete; inspect, ports or ledger done.
    Done = 0,
    // The files could not be prepared, the settings could not be written, or
    // the ledger could not be read.
    FilesFailed = 1,
    Usage = 2,
    // No contact, the wrong board, a board that failed, did not answer or
    // answered what nobody knows, a serial line that failed.
    BoardFailed = 3,
    NoRecords = 4,
    Declined = 5,
    Stopped = 6,
    // Standard output or standard error could not be written.
    OutputLost = 7,
};

eStatus Of(clsBoardRun::eClass iClass);
// iStatus, unless the console lost something it was to write.
int Final(int iStatus, const clsConsole& oConsole);

} // namespace mdlExitStatus
