#include "engine/mdlRunReport.h"

#include "engine/mdlEngineErrors.h"
#include "records/clsFlashImage.h"
#include "records/clsJRT_SRecord.h"
#include "resources/mdlResources.h"

namespace {
const auto sUnknown = QStringLiteral("Unknown error in cmdRunStop event handler.");
} // namespace

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
    case SerialFieldUnusable:
    case CounterUnusable:
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
    case Codec::InvalidByteCount:
        // Ours: a count that disagrees with the line's length. A count out
        // of range stays an unforeseen error, as the box has always had it.
        if (oError.Source() == QLatin1String("clsJRT_SRecord.Record")) {
            return {sMayBeCorrupt, sDescription};
        }
        return {sUnknown};
    default:
        return {sUnknown};
    }
}

bool IsForeseen(const clsError& oError) {
    return DetailLines(oError) != QStringList{sUnknown};
}

QString BoxText(const clsError& oError) {
    return mdlResources::LoadResString(500) + QString::number(oError.Code()) +
           QStringLiteral("\r\n") + DetailLines(oError).join(QStringLiteral("\r\n"));
}

} // namespace mdlRunReport
