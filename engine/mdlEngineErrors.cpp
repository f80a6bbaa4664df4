#include "engine/mdlEngineErrors.h"

#include "engine/mdlTextUtil.h"
#include "records/clsJRT_SRecord.h"
#include "records/clsOpenFile.h"
#include "records/mdlFileErrors.h"
#include "resources/mdlResources.h"

namespace mdlEngineErrors {

clsError Make(qint32 lCode) {
    using mdlResources::LoadResString;
    const auto sOpenFiles = QStringLiteral("OpenFiles <sub> --- clsApplication");
    switch (lCode) {
    case OpenAppFileFailed:
        return clsError::FromCode(lCode, sOpenFiles, LoadResString(eRes::AppFileUnopened));
    case OpenCmdFileFailed:
        return clsError::FromCode(lCode, sOpenFiles, LoadResString(eRes::NoCommandFileName));
    case NoTargetID:
        return clsError::FromCode(lCode, QStringLiteral("GetTargetID <sub> --- clsApplication"),
                                  LoadResString(eRes::NoTargetID));
    case CommsFailed:
        return clsError::FromCode(lCode, QStringLiteral("EstablishCom <sub> --- mdlComms"),
                                  LoadResString(eRes::NoComms));
    case NoFlashImage:
        return clsError::FromCode(lCode, QStringLiteral("clsApplication.InitMemoryImage"),
                                  QStringLiteral("Unable to create flash image in memory."));
    case BadCommandLine:
    case SerialFieldUnusable:
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

clsError QuotedCommandFileLine(qint32 lLine, const QString& sProblem, const QString& sLine) {
    return CommandFileLine(lLine, sProblem + QStringLiteral(": ") + mdlTextUtil::Quoted(sLine));
}

clsError CommandFileLine(qint32 lLine, const QString& sProblem) {
    return clsError::FromCode(BadCommandLine, QStringLiteral("clsApplication.InitMemoryImage"),
                              QStringLiteral("Command file line %1 %2.").arg(lLine).arg(sProblem))
        .AtLine(lLine);
}

clsError RecordFileLine(qint32 lLine, const QString& sProblem) {
    return clsError::FromCode(clsJRT_SRecord::FieldNotANumber,
                              QStringLiteral("clsApplication.BuildImage"),
                              QStringLiteral("Line %1 %2.").arg(lLine).arg(sProblem))
        .AtLine(lLine);
}

bool IsReadFailure(const clsError& oError) {
    return oError.Number() == mdlFileErrors::DeviceIOError ||
           oError.Number() == mdlFileErrors::LineTooLong;
}

QString ReadFailure(const clsError& oError) {
    if (oError.Number() == mdlFileErrors::LineTooLong) {
        return QStringLiteral("is longer than %L1 characters").arg(clsOpenFile::lLongestLine);
    }
    return QStringLiteral("could not be read: ") + oError.Why();
}

} // namespace mdlEngineErrors
