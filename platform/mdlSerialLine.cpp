#include "platform/mdlSerialLine.h"

#include <QStringList>

namespace {

qint16 StopTenthsOf(const QString& sStopBits) {
    if (sStopBits == QLatin1String("1")) {
        return 10;
    }
    if (sStopBits == QLatin1String("1.5")) {
        return 15;
    }
    return sStopBits == QLatin1String("2") ? 20 : 0;
}

} // namespace

namespace mdlSerialLine {

std::optional<Line> Parse(const QString& sSettings) {
    QStringList asFields = sSettings.split(QLatin1Char(','));
    if (asFields.size() == 5) {
        // "1,5" stop bits, written with a decimal comma
        asFields[3] += QLatin1Char('.') + asFields.takeLast();
    }
    if (asFields.size() != 4) {
        return std::nullopt;
    }
    bool bBaudRate = false;
    bool bDataBits = false;
    Line oLine;
    oLine.lBaudRate = asFields[0].trimmed().toInt(&bBaudRate);
    const QString sParity = asFields[1].trimmed().toUpper();
    oLine.iDataBits = asFields[2].trimmed().toShort(&bDataBits);
    oLine.iStopTenths = StopTenthsOf(asFields[3].trimmed());
    if (!bBaudRate || oLine.lBaudRate <= 0 || sParity.size() != 1 ||
        !QStringLiteral("EONMS").contains(sParity) || !bDataBits || oLine.iDataBits < 5 ||
        oLine.iDataBits > 8 || oLine.iStopTenths == 0) {
        return std::nullopt;
    }
    oLine.yParity = sParity[0].toLatin1();
    return oLine;
}

} // namespace mdlSerialLine
