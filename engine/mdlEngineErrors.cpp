#include "mdlEngineErrors.h"

#include "mdlResources.h"

namespace mdlEngineErrors {

clsError Make(eCode iCode) {
    using mdlResources::LoadResString;
    const auto sOpenFiles = QStringLiteral("OpenFiles <sub> --- clsApplication");
    switch (iCode) {
    case OpenAppFileFailed:
        return clsError::FromCode(iCode, sOpenFiles, LoadResString(511));
    case OpenCmdFileFailed:
        return clsError::FromCode(iCode, sOpenFiles, LoadResString(501));
    case NoTargetID:
        return clsError::FromCode(iCode, QStringLiteral("GetTargetID <sub> --- clsApplication"),
                                  LoadResString(512));
    case CommsFailed:
        return clsError::FromCode(iCode, QStringLiteral("EstablishCom <sub> --- mdlComms"),
                                  LoadResString(510));
    case NoFlashImage:
        return clsError::FromCode(iCode, QStringLiteral("clsApplication.InitMemoryImage"),
                                  QStringLiteral("Unable to create flash image in memory."));
    case BadCommandLine:
    case NoCommandFileName:
    case WrongTarget:
    case ResendLimit:
    case ProgrammingError:
    case UploadCancelled:
        break;
    }
    // The window words these itself; they travel as the number alone.
    return clsError::FromCode(iCode);
}

clsError CommandFileLine(qint32 lLine, const QString& sProblem, const QString& sLine) {
    return clsError::FromCode(
        BadCommandLine, QStringLiteral("clsApplication.InitMemoryImage"),
        QStringLiteral("Command file line %1 %2: \"%3\"").arg(lLine).arg(sProblem, sLine));
}

} // namespace mdlEngineErrors
