#include "mdlRunReport.h"

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
    switch (lCode) {
    case 2002:
        return {LoadResString(501), LoadResString(502)};
    case 2000:
    case 2001:
    case 2003:
    case 2004:
    case 2009:
    case 2010:
        return {sDescription};
    case 2100:
    case 2102:
        return {sDescription, sMayBeCorrupt};
    case 2101:
        return {LoadResString(509), sDescription};
    case 2200:
        return {sMayBeCorrupt, LoadResString(507)};
    case 2201:
        return {sMayBeCorrupt, LoadResString(508)};
    case 2214:
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
