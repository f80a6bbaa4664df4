#include "tools/cli/mdlExitStatus.h"

#include "engine/mdlComms.h"
#include "engine/mdlEngineErrors.h"
#include "tools/cli/clsConsole.h"

namespace mdlExitStatus {

eStatus OfRunFailure(const clsError& oError) {
    using namespace mdlEngineErrors;
    const qint32 lCode = oError.Code();
    const bool bBoard = lCode >= CommsFailed && lCode <= ProgrammingError;
    return bBoard || mdlComms::IsSerialControlError(oError.Number()) ? BoardFailed : FilesFailed;
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
