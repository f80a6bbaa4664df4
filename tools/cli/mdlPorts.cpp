#include "tools/cli/mdlPorts.h"

#include "engine/mdlComms.h"
#include "platform/clsJRT_Registry.h"
#include "platform/clsPortBindings.h"
#include "tools/cli/clsConsole.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>

namespace {

constexpr int iExitFailed = 1;
constexpr int iExitUsage = 2;
constexpr int iExitOutputLost = 7;

const QString sUsage =
    QStringLiteral("usage: tessivar-cli ports [--json]\n"
                   "       tessivar-cli ports --bind N DEVICE\n"
                   "       tessivar-cli ports --unbind N\n"
                   "N is a port number from 1 to 16; DEVICE an absolute path.\n");

// A port number 1 to 16 given as text; 0 when it is none.
qint16 PortNumber(const QByteArray& aText) {
    bool bNumber = false;
    const int iPort = aText.toInt(&bNumber);
    return bNumber && iPort >= clsPortBindings::iFirstPort && iPort <= clsPortBindings::iLastPort
               ? qint16(iPort)
               : 0;
}

QString Presence(const QString& sDevice) {
    return QFileInfo::exists(sDevice) ? QString() : QStringLiteral("  (not present)");
}

void List(clsConsole& oConsole, const clsPortBindings& oBindings, bool bJson) {
    const QStringList asFound = clsPortBindings::FoundDevices();
    QJsonArray aPorts;
    QString sText;
    for (qint16 iPort = clsPortBindings::iFirstPort; iPort <= clsPortBindings::iLastPort; ++iPort) {
        const QString sDevice = oBindings.Device(iPort);
        if (!sDevice.isEmpty()) {
            aPorts.append(QJsonObject{{QStringLiteral("number"), iPort},
                                      {QStringLiteral("device"), sDevice},
                                      {QStringLiteral("present"), QFileInfo::exists(sDevice)}});
            sText += QStringLiteral("COM%1  %2%3\n").arg(iPort).arg(sDevice, Presence(sDevice));
        }
    }
    if (aPorts.isEmpty()) {
        sText = QStringLiteral("No port number stands for a device.\n");
    }
    QJsonArray aFound;
    sText += QStringLiteral("\nSerial devices found on this machine:\n");
    for (const QString& sDevice : asFound) {
        const qint16 iPort = oBindings.PortOf(sDevice);
        aFound.append(
            QJsonObject{{QStringLiteral("device"), sDevice}, {QStringLiteral("number"), iPort}});
        sText += QStringLiteral("  %1  %2\n")
                     .arg(sDevice, iPort == 0 ? QStringLiteral("not bound")
                                              : QStringLiteral("COM%1").arg(iPort));
    }
    if (asFound.isEmpty()) {
        sText += QStringLiteral("  none\n");
    }
    if (bJson) {
        oConsole.OutJson({{QStringLiteral("ports"), aPorts}, {QStringLiteral("found"), aFound}});
    } else {
        oConsole.Out(sText);
    }
}

// Binds or unbinds as aArguments ask; false when they ask for neither.
bool Change(clsPortBindings& oBindings, const QByteArrayList& aArguments, QString& sDone) {
    const qint16 iPort = PortNumber(aArguments.value(1));
    if (aArguments.first() == "--unbind" && aArguments.size() == 2 && iPort != 0) {
        oBindings.Unbind(iPort);
        sDone = QStringLiteral("COM%1 stands for no device.\n").arg(iPort);
        return true;
    }
    const QString sDevice = QFile::decodeName(aArguments.value(2));
    if (aArguments.first() == "--bind" && aArguments.size() == 3 &&
        oBindings.Bind(iPort, sDevice)) {
        sDone =
            QStringLiteral("COM%1 stands for %2%3.\n").arg(iPort).arg(sDevice, Presence(sDevice));
        return true;
    }
    return false;
}

int Ports(clsConsole& oConsole, const QByteArrayList& aArguments) {
    mdlComms::BindNewDevices();
    clsPortBindings oBindings(mdlComms::CommsKeyPath());
    oBindings.Load();
    if (aArguments.isEmpty() || aArguments == QByteArrayList{"--json"}) {
        List(oConsole, oBindings, !aArguments.isEmpty());
        return 0;
    }
    QString sDone;
    if (!Change(oBindings, aArguments, sDone)) {
        oConsole.Err(sUsage);
        return iExitUsage;
    }
    if (!oBindings.Store()) {
        oConsole.Err(QStringLiteral("tessivar-cli: the settings file %1 could not be written.\n")
                         .arg(clsJRT_Registry::FilePath()));
        return iExitFailed;
    }
    oConsole.Out(sDone);
    return 0;
}

} // namespace

namespace mdlPorts {

int Run(const QByteArrayList& aArguments) {
    clsConsole oConsole;
    const int iExit = Ports(oConsole, aArguments);
    return oConsole.Lost() ? iExitOutputLost : iExit;
}

} // namespace mdlPorts
