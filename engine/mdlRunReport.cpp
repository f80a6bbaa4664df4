#include "mdlRunReport.h"

#include "clsFlashImage.h"
#include "clsJRT_SRecord.h"
#include "mdlEngineErrors.h"
#include "mdlResources.h"

namespace mdlRunReport {

QStringList DetailLines(const clsError& oError) {
    using mdlResources::LoadResString;
    const QString& sDescription = oError.Description();
    const QString sMayBeCorrupt = LoadResString(503);
    const qint32 lCode = oError.Code();
    if (lCode >= 8000 && lCode <= 8020) {
        return {sDescription};
    }
    using namespace mdlEngineErrors;
    using Image = clsFlashImage;
    using Codec = clsJRT_SRecord;
    switch (lCode) {
    case NoCommandFileName:
        return {LoadResString(501), LoadResString(502)};
    case OpenAppFileFailed:
    case OpenCmdFileFailed:
    case NoTargetID:
    case CommsFailed:
    case NoFlashImage:
    case BadCommandLine:
        return {sDescription};
    case Image::InvalidAddress:
    case Image::AlreadyWritten:
        return {sDescription, sMayBeCorrupt};
    case Image::RestrictedByte:
        return {LoadResString(509), sDescription};
    case Codec::NotAnSRecord:
        return {sMayBeCorrupt, LoadResString(507)};
    case Codec::CheckSumMismatch:
        return {sMayBeCorrupt, LoadResString(508)};
    case Codec::FieldNotANumber:
        return {sMayBeCorrupt, sDescription};
    default:
        return {QStringLiteral("Unknown error in cmdRunStop event handler.")};
    }
}

QString BoxText(const clsError& oError) {
    return mdlResources::LoadResString(500) + QString::number(oError.Code()) +
           QStringLiteral("\r\n") + DetailLines(oError).join(QStringLiteral("\r\n"));
}

} // namespace mdlRunReport
