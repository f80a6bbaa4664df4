#include "engine/mdlEngineErrors.h"

#include "resources/mdlResources.h"

namespace mdlEngineErrors {

clsError Make(qint32 lCode) {
    using mdlResources::LoadResString;
    const auto sOpenFiles = QStringLiteral("OpenFiles <sub> --- clsApplication");
    switch (lCode) {
    case OpenAppFileFailed:
        return clsError::FromCode(lCode, sOpenFiles, LoadResString(511));
    case OpenCmdFileFailed:
        return clsError::FromCode(lCode, sOpenFiles, LoadResString(501));
    case NoTargetID:
        return clsError::FromCode(lCode, QStringLiteral("GetTargetID <sub> --- clsApplication"),
                                  LoadResString(512));
    case CommsFailed:
        return clsError::FromCode(lCode, QStringLiteral("EstablishCom <sub> --- mdlComms"),
                                  LoadResString(510));
    case NoFlashImage:
        return clsError::FromCode(lCode, QStringLiteral("clsApplication.InitMemoryImage"),
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
    return clsError::FromCode(lCode);
}

clsError CommandFileLine(qint32 lLine, const QString& sProblem, const QString& sLine) {
    return clsError::FromCode(
        BadCommandLine, QStringLiteral("clsApplication.InitMemoryImage"),
        QStringLiteral("Command file line %1 %2: \"%3\"").arg(lLine).arg(sProblem, sLine));
}

} // namespace mdlEngineErrors
