#include "platform/clsPortBindings.h"

#include <QRegularExpression>
#include <QSerialPortInfo>

#include <algorithm>

bool clsPortBindings::NumbersNamePorts() {
    return true;
}

QString clsPortBindings::DeviceName(const QString& sDevice) {
    static const QRegularExpression oComPort(QStringLiteral(R"(^(?:\\\\\.\\)?COM([1-9]\d{0,2})$)"),
                                             QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch oMatch = oComPort.match(sDevice);
    return oMatch.hasMatch() ? QStringLiteral("COM") + oMatch.captured(1) : QString();
}

QStringList clsPortBindings::FoundDevices(const QString&) {
    QStringList asFound;
    for (const QSerialPortInfo& oPort : QSerialPortInfo::availablePorts()) {
        if (const QString sDevice = DeviceName(oPort.portName()); !sDevice.isEmpty()) {
            asFound << sDevice;
        }
    }
    std::sort(asFound.begin(), asFound.end(), [](const QString& sA, const QString& sB) {
        return sA.sliced(3).toInt() < sB.sliced(3).toInt();
    });
    return asFound;
}

bool clsPortBindings::IsPresent(const QString& sDevice) {
    return FoundDevices().contains(DeviceName(sDevice));
}

QString clsPortBindings::NameForm() {
    return QStringLiteral("a COM port's name, such as COM17");
}
