#include "tools/cli/mdlExitStatus.h"

#include "engine/mdlErrorTable.h"
#include "tools/cli/clsConsole.h"

namespace mdlExitStatus {

eStatus OfRunFailure(const clsError& oError) {
    using eClass = mdlErrorTable::eClass;
    switch (mdlErrorTable::OfRun(oError).iClass) {
    case eClass::Files:
        return FilesFailed;
    case eClass::Declined:
        return Declined;
    case eClass::Board:
    case eClass::Link:
        break;
    }
    return BoardFailed;
}

eStatus OfEnding(clsUploadSequence::eEnding iEnding) {
    using Ending = clsUploadSequence::eEnding;
    switch (iEnding) {
    case Ending::Complete:
        return Done;
    case Ending::NoRecords:
        return NoRecords;
    case Ending::Stopped:
        return Stopped;
    case Ending::Declined:
        return Declined;
    case Ending::TimedOut:
    case Ending::BoardFailed:
    case Ending::LinkFailed:
    case Ending::UnknownReply:
        break;
    }
    return BoardFailed;
}

int Final(int iStatus, const clsConsole& oConsole) {
    return oConsole.Lost() ? OutputLost : iStatus;
}

} // namespace mdlExitStatus
