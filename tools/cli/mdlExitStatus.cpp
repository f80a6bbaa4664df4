#include "tools/cli/mdlExitStatus.h"

#include "platform/clsConsole.h"

namespace mdlExitStatus {

eStatus Of(clsBoardRun::eClass iClass) {
    using Class = clsBoardRun::eClass;
    switch (iClass) {
    case Class::Done:
        return Done;
    case Class::FilesFailed:
        return FilesFailed;
    case Class::NoRecords:
        return NoRecords;
    case Class::Declined:
        return Declined;
    case Class::Stopped:
        return Stopped;
    case Class::BoardFailed:
        break;
    }
    return BoardFailed;
}

int Final(int iStatus, const clsConsole& oConsole) {
    return oConsole.Lost() ? OutputLost : iStatus;
}

} // namespace mdlExitStatus
