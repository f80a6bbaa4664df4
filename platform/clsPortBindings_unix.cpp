#include "platform/clsPortBindings.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

#include <algorithm>

bool clsPortBindings::NumbersNamePorts() {
    return false;
}

QString clsPortBindings::DeviceName(const QString& sDevice) {
    const bool bPath = sDevice.startsWith(QLatin1Char('/')) &&
                       std::none_of(sDevice.begin(), sDevice.end(), [](QChar cChar) {
                           return cChar.category() == QChar::Other_Control;
                       });
    return bPath ? sDevice : QString();
}

QStringList clsPortBindings::FoundDevices(const QString& sByIdFolder) {
    QStringList asFound;
    QStringList asReached;
    const QFileInfoList aLinks =
        QDir(sByIdFolder).entryInfoList(QDir::Files | QDir::System, QDir::Name);
    for (const QFileInfo& oLink : aLinks) {
        asFound << oLink.absoluteFilePath();
        asReached << oLink.canonicalFilePath();
    }
    for (const QSerialPortInfo& oPort : QSerialPortInfo::availablePorts()) {
        const QString sDevice = oPort.systemLocation();
        if (!asReached.contains(QFileInfo(sDevice).canonicalFilePath())) {
            asFound << sDevice;
        }
    }
    return asFound;
}

bool clsPortBindings::IsPresent(const QString& sDevice) {
    return QFileInfo::exists(sDevice);
}

QString clsPortBindings::NameForm() {
    return QStringLiteral("the whole path from the root, such as /dev/ttyUSB0");
}
