#include "tools/cli/mdlPorts.h"

#include "engine/mdlComms.h"
#include "engine/mdlPortChoice.h"
#include "engine/mdlTextUtil.h"
#include "platform/clsConsole.h"
#include "platform/clsPortBindings.h"
#include "platform/clsSettingsKey.h"
#include "tools/cli/mdlCommandLine.h"
#include "tools/cli/mdlExitStatus.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

const QString sUsage = QStringLiteral("usage: tessivar-cli ports [--json]\n"
                                      "       tessivar-cli ports --bind N DEVICE\n"
                                      "       tessivar-cli ports --unbind N\n"
                                      "N is a port number from 1 to %1; DEVICE %2.\n")
                           .arg(clsPortBindings::iLastPort)
                           .arg(clsPortBindings::NameForm());

QString Presence(const QString& sDevice) {
    return clsPortBindings::IsPresent(sDevice) ? QString() : QStringLiteral("  (not present)");
}

// Names escaped: a person may edit the settings file, and a device node's
// name can hold anything.
void List(clsConsole& oConsole, const clsPortBindings& oBindings, bool bJson) {
    const QStringList asFound = clsPortBindings::FoundDevices();
    QJsonArray aPorts;
    QString sText;
    for (qint16 iPort = clsPortBindings::iFirstPort; iPort <= clsPortBindings::iLastPort; ++iPort) {
        const QString sDevice = oBindings.Device(iPort);
        if (oBindings.IsBound(iPort)) {
            aPorts.append(
                QJsonObject{{QStringLiteral("number"), iPort},
                            {QStringLiteral("device"), sDevice},
                            {QStringLiteral("present"), clsPortBindings::IsPresent(sDevice)}});
            sText += QStringLiteral("%1  %2%3\n")
                         .arg(clsPortBindings::PortName(iPort), mdlTextUtil::Visible(sDevice),
                              Presence(sDevice));
        }
    }
    if (aPorts.isEmpty()) {
        sText = QStringLiteral("No port number is bound to a device.\n");
    }
    QJsonArray aFound;
    sText += QStringLiteral("\nSerial devices found on this machine:\n");
    const QStringList asKnown = clsPortBindings::Descriptions(asFound);
    for (qsizetype lFound = 0; lFound < asFound.size(); ++lFound) {
        const QString& sDevice = asFound.at(lFound);
        const QString& sKnown = asKnown.at(lFound);
        const qint16 iPort = oBindings.PortOf(sDevice);
        aFound.append(QJsonObject{{QStringLiteral("device"), sDevice},
                                  {QStringLiteral("number"), iPort},
                                  {QStringLiteral("description"), sKnown}});
        sText +=
            QStringLiteral("  %1  %2%3\n")
                .arg(mdlTextUtil::Visible(sDevice),
                     iPort == 0 ? QStringLiteral("not bound") : clsPortBindings::PortName(iPort),
                     sKnown.isEmpty() ? QString()
                                      : QStringLiteral("  ") + mdlTextUtil::Visible(sKnown));
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

struct Options {
    QCommandLineOption oJson{QStringLiteral("json"),
                             QStringLiteral("The ports and the devices as one line of JSON.")};
    QCommandLineOption oBind{QStringLiteral("bind"),
                             QStringLiteral("Let port number N stand for DEVICE."),
                             QStringLiteral("N")};
    QCommandLineOption oUnbind{QStringLiteral("unbind"),
                               QStringLiteral("Let port number N stand for no device."),
                               QStringLiteral("N")};
};

const auto sNoNumber = QStringLiteral("%1 takes a port number from 1 to %2.");

// Binds or unbinds as oParser asks; what is wrong with what it asks, empty
// when nothing is.
QString Change(clsPortBindings& oBindings, const QCommandLineParser& oParser,
               const Options& oOptions, QString& sDone) {
    const QStringList asDevices = oParser.positionalArguments();
    // One number at a time: of several, the parser keeps the last alone.
    const qsizetype lNumbers =
        oParser.values(oOptions.oBind).size() + oParser.values(oOptions.oUnbind).size();
    if (oParser.isSet(oOptions.oJson) || lNumbers != 1) {
        return lNumbers == 0 ? QStringLiteral("a DEVICE goes with --bind N alone.")
                             : QStringLiteral("--json, --bind and --unbind go alone, once.");
    }
    const bool bUnbind = oParser.isSet(oOptions.oUnbind);
    const QString sOption = bUnbind ? QStringLiteral("--unbind") : QStringLiteral("--bind");
    const qint16 iPort =
        mdlPortChoice::Number(oParser.value(bUnbind ? oOptions.oUnbind : oOptions.oBind));
    if (iPort == 0) {
        return sNoNumber.arg(sOption).arg(clsPortBindings::iLastPort);
    }
    if (bUnbind) {
        if (!asDevices.isEmpty()) {
            return QStringLiteral("--unbind N takes no DEVICE.");
        }
        oBindings.Unbind(iPort);
        sDone = clsPortBindings::PortName(iPort) + QStringLiteral(" stands for no device.\n");
        return {};
    }
    if (asDevices.size() != 1) {
        return QStringLiteral("--bind N takes one DEVICE.");
    }
    if (!oBindings.Bind(iPort, asDevices.first())) {
        return QStringLiteral("%1 is no DEVICE: give %2.")
            .arg(asDevices.first(), clsPortBindings::NameForm());
    }
    sDone = QStringLiteral("%1 stands for %2%3.\n")
                .arg(clsPortBindings::PortName(iPort), mdlTextUtil::Visible(asDevices.first()),
                     Presence(asDevices.first()));
    return {};
}

} // namespace

namespace mdlPorts {

int Run(clsConsole& oConsole, const QByteArrayList& aArguments) {
    QCommandLineParser oParser;
    oParser.setApplicationDescription(
        QStringLiteral("Lists the device each port number stands for, and the serial devices\n"
                       "found on this machine; or binds or unbinds a port number."));
    const Options oOptions;
    oParser.addOptions({oOptions.oJson, oOptions.oBind, oOptions.oUnbind});
    oParser.addPositionalArgument(
        QStringLiteral("DEVICE"),
        QStringLiteral("With --bind: the device, %1.").arg(clsPortBindings::NameForm()));
    if (const std::optional<int> oDone =
            mdlCommandLine::Parse(oParser, sUsage, aArguments, oConsole)) {
        return *oDone;
    }
    for (const QString& sDevice : oParser.positionalArguments()) {
        if (!mdlCommandLine::IsFaithfulPath(oConsole, aArguments, sDevice, false)) {
            return mdlExitStatus::FilesFailed;
        }
    }
    mdlComms::BindNewDevices();
    clsPortBindings oBindings(mdlComms::CommsKeyPath());
    oBindings.Load();
    if (!oParser.isSet(oOptions.oBind) && !oParser.isSet(oOptions.oUnbind) &&
        oParser.positionalArguments().isEmpty()) {
        List(oConsole, oBindings, oParser.isSet(oOptions.oJson));
        return mdlExitStatus::Done;
    }
    QString sDone;
    if (const QString sWhy = Change(oBindings, oParser, oOptions, sDone); !sWhy.isEmpty()) {
        return mdlCommandLine::UsageError(oConsole, sUsage, sWhy);
    }
    if (!oBindings.Store()) {
        oConsole.Err(QStringLiteral("tessivar-cli: %1 could not be written.\n")
                         .arg(mdlTextUtil::Visible(clsSettingsKey::StoreName())));
        return mdlExitStatus::FilesFailed;
    }
    oConsole.Out(sDone);
    return mdlExitStatus::Done;
}

} // namespace mdlPorts
