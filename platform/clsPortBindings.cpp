#include "platform/clsPortBindings.h"

#include "core/clsError.h"
#include "platform/clsJRT_Registry.h"
#include "platform/mdlSerialLine.h"

#include <QHash>
#include <QSerialPortInfo>

#include <functional>
#include <utility>

namespace {

const QString sSeenValue = QStringLiteral("SeenDevices");
// Between the devices of sSeenValue; no device name a system gives has one.
constexpr QChar cSeenSeparator = u'|';

// Opens the bindings' key, runs oWork and closes the key; false when any
// of it failed.
bool WithKey(const QString& sKeyPath, const std::function<void(clsJRT_Registry&)>& oWork) {
    clsJRT_Registry oRegistry;
    try {
        oRegistry.OpenMachineKey(sKeyPath, true);
        oWork(oRegistry);
        oRegistry.CloseKey();
        return true;
    } catch (const clsError&) {
        return false;
    }
}

// A text value, or empty when it is absent or not a text.
QString TextValue(const clsJRT_Registry& oRegistry, const QString& sName) {
    try {
        return oRegistry.Value(sName, clsJRT_Registry::RegSz).toString();
    } catch (const clsError&) {
        return {};
    }
}

// What the system tells of oPort: the serial number is what tells two
// adapters of one make apart.
QString Described(const QSerialPortInfo& oPort) {
    QStringList asKnown = {oPort.manufacturer(), oPort.description()};
    if (!oPort.serialNumber().isEmpty()) {
        asKnown << QStringLiteral("serial number ") + oPort.serialNumber();
    }
    asKnown.removeAll(QString());
    return asKnown.join(QStringLiteral(", "));
}

} // namespace

clsPortBindings::clsPortBindings(QString sNewKeyPath)
    : sKeyPath(std::move(sNewKeyPath)), asDevices(iLastPort) {}

QStringList clsPortBindings::SeenIn(const clsJRT_Registry& oRegistry) {
    QStringList asSeen = TextValue(oRegistry, sSeenValue).split(cSeenSeparator);
    asSeen.removeIf([](const QString& sDevice) { return DeviceName(sDevice).isEmpty(); });
    return asSeen;
}

void clsPortBindings::Load() {
    asDevices = QStringList(iLastPort);
    asSeen.clear();
    WithKey(sKeyPath, [this](clsJRT_Registry& oRegistry) {
        for (qint16 iPort = iFirstPort; iPort <= iLastPort; ++iPort) {
            asDevices[iPort - 1] =
                DeviceName(TextValue(oRegistry, clsPortBindings::PortName(iPort)));
        }
        asSeen = SeenIn(oRegistry);
    });
    aiChosen.clear();
}

bool clsPortBindings::Store() {
    const QStringList asBound = NewlyBound();
    const bool bStored = WithKey(sKeyPath, [this, &asBound](clsJRT_Registry& oRegistry) {
        for (qint16 iPort = iFirstPort; iPort <= iLastPort; ++iPort) {
            // Another copy may have bound a device this one bound since.
            const bool bTaken =
                asBound.contains(TextValue(oRegistry, clsPortBindings::PortName(iPort)));
            if (aiChosen.contains(iPort)) {
                oRegistry.SetValue(clsPortBindings::PortName(iPort), clsJRT_Registry::RegSz,
                                   asDevices[iPort - 1]);
            } else if (bTaken) {
                asDevices[iPort - 1].clear();
                oRegistry.SetValue(clsPortBindings::PortName(iPort), clsJRT_Registry::RegSz,
                                   QString());
            }
        }
        QStringList asAllSeen = SeenIn(oRegistry);
        for (const QString& sDevice : asSeen) {
            if (!asAllSeen.contains(sDevice)) {
                asAllSeen << sDevice;
            }
        }
        oRegistry.SetValue(sSeenValue, clsJRT_Registry::RegSz, asAllSeen.join(cSeenSeparator));
    });
    if (bStored) {
        aiChosen.clear();
    }
    return bStored;
}

QString clsPortBindings::PortName(qint16 iPort) {
    return QStringLiteral("COM%1").arg(iPort);
}

QStringList clsPortBindings::NewlyBound() const {
    QStringList asBound;
    for (const qint16 iPort : aiChosen) {
        if (!asDevices[iPort - 1].isEmpty()) {
            asBound << asDevices[iPort - 1];
        }
    }
    return asBound;
}

QString clsPortBindings::Device(qint16 iPort) const {
    if (!IsPortNumber(iPort)) {
        return {};
    }
    const QString& sBound = asDevices[iPort - 1];
    return sBound.isEmpty() && NumbersNamePorts() ? PortName(iPort) : sBound;
}

qint16 clsPortBindings::PortOf(const QString& sDevice) const {
    for (qint16 iPort = iFirstPort; iPort <= iLastPort; ++iPort) {
        if (Device(iPort) == sDevice) {
            return iPort;
        }
    }
    return 0;
}

bool clsPortBindings::Bind(qint16 iPort, const QString& sGiven) {
    const QString sDevice = DeviceName(sGiven);
    if (!IsPortNumber(iPort) || sDevice.isEmpty()) {
        return false;
    }
    if (const qsizetype lHad = asDevices.indexOf(sDevice); lHad >= 0) {
        asDevices[lHad].clear();
    }
    asDevices[iPort - 1] = sDevice;
    Chosen(iPort);
    if (!asSeen.contains(sDevice)) {
        asSeen << sDevice;
    }
    return true;
}

void clsPortBindings::Unbind(qint16 iPort) {
    if (IsPortNumber(iPort)) {
        asDevices[iPort - 1].clear();
        Chosen(iPort);
    }
}

void clsPortBindings::Chosen(qint16 iPort) {
    if (!aiChosen.contains(iPort)) {
        aiChosen << iPort;
    }
}

QList<qint16> clsPortBindings::Adopt(const QStringList& asFound) {
    QList<qint16> aiBound;
    if (NumbersNamePorts()) {
        return aiBound;
    }
    for (const QString& sDevice : asFound) {
        const qsizetype lFree = asDevices.indexOf(QString());
        if (asSeen.contains(sDevice) || PortOf(sDevice) != 0 || lFree < 0) {
            continue;
        }
        Bind(qint16(lFree + 1), sDevice);
        aiBound << qint16(lFree + 1);
    }
    return aiBound;
}

QStringList clsPortBindings::Descriptions(const QStringList& asDevices) {
    QHash<QString, QString> aByRealPath;
    for (const QSerialPortInfo& oPort : QSerialPortInfo::availablePorts()) {
        const QString sReal = mdlSerialLine::RealPath(oPort.systemLocation());
        if (!aByRealPath.contains(sReal)) {
            aByRealPath.insert(sReal, Described(oPort));
        }
    }
    // A path that leads nowhere names no port.
    aByRealPath.remove(QString());
    QStringList asKnown;
    for (const QString& sDevice : asDevices) {
        asKnown << aByRealPath.value(mdlSerialLine::RealPath(sDevice));
    }
    return asKnown;
}
