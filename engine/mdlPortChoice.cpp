#include "engine/mdlPortChoice.h"

#include "engine/mdlComms.h"
#include "platform/clsPortBindings.h"

#include <QFileInfo>

namespace mdlPortChoice {

qint16 Number(const QString& sText) {
    bool bNumber = false;
    const int iPort = sText.toInt(&bNumber);
    return bNumber && iPort >= clsPortBindings::iFirstPort && iPort <= clsPortBindings::iLastPort
               ? qint16(iPort)
               : 0;
}

std::optional<Choice> Of(const QString& sText) {
    bool bNumber = false;
    sText.toInt(&bNumber);
    if (!bNumber) {
        return sText.isEmpty() ? std::nullopt : std::optional<Choice>({.sDevice = sText});
    }
    const qint16 iPort = Number(sText);
    return iPort == 0 ? std::nullopt : std::optional<Choice>({.iPort = iPort, .sDevice = {}});
}

QString Device(const QString& sText) {
    const qint16 iPort = Number(sText);
    const QString sDevice = iPort > 0 ? mdlComms::DeviceOf(iPort) : sText;
    const QString sCanonical = QFileInfo(sDevice).canonicalFilePath();
    return sCanonical.isEmpty() ? sDevice : sCanonical;
}

QString Identity(const QString& sText) {
    const QString sDevice = Device(sText);
    return sDevice.isEmpty() ? QString::number(Number(sText)) : sDevice;
}

} // namespace mdlPortChoice
