#include "tools/cli/clsPortsCommand.h"

#include "engine/mdlPortChoice.h"
#include "engine/mdlTextUtil.h"
#include "platform/clsConsole.h"
#include "tools/cli/mdlErrorText.h"
#include "tools/cli/mdlExitStatus.h"
#include "tools/cli/mdlTextTable.h"

#include <QCoreApplication>

#include <csignal>

namespace {

// As the lines and the table name a port given as sPort; a device's name
// escaped, as everything the table shows.
QString PortName(const QString& sPort) {
    const qint16 iPort = mdlPortChoice::Number(sPort);
    return iPort > 0 ? QStringLiteral("port %1").arg(iPort) : mdlTextUtil::Visible(sPort);
}

QString DeviceOf(const QString& sPort) {
    const QString sDevice = mdlPortChoice::Device(sPort);
    return sDevice.isEmpty() ? QStringLiteral("-") : mdlTextUtil::Visible(sDevice);
}

} // namespace

clsPortsCommand::clsPortsCommand(clsConsole& oNewConsole, const Options& oNewOptions)
    : oConsole(oNewConsole), oOptions(oNewOptions), oSerialNumbers(oNewOptions.oSerial.Numbering()),
      oHost(oNewConsole, oNewOptions.oHost), oApp(oHost), oRun(Launch()),
      aEnds(oNewOptions.asPorts.size()) {
    if (oSerialNumbers) {
        oApp.NumberBoards(*oSerialNumbers);
    }
    connect(&oStopSignals, &clsStopSignals::Received, this, &clsPortsCommand::OnStopSignal);
    connect(&oRun, &clsPortsRun::LineCame, this,
            [this](qsizetype lPort, const QString& sLine, QProcess::ProcessChannel iStream) {
                oLines.Line(lPort, sLine, iStream);
            });
    connect(&oRun, &clsPortsRun::OpenLineCame, this,
            [this](qsizetype lPort, const QString& sSoFar) { oLines.OpenLine(lPort, sSoFar); });
    connect(&oRun, &clsPortsRun::PortEnded, this,
            [this](qsizetype lPort, int iStatus, const QString& sResult, qint64 lElapsedMs) {
                aEnds[lPort] = {iStatus, sResult, lElapsedMs};
            });
    connect(&oRun, &clsPortsRun::Ended, &oLoop, &QEventLoop::quit);
}

int clsPortsCommand::Exec() {
    const std::optional<clsHandedImage> oHanded = Prepare();
    if (!oHanded) {
        return mdlExitStatus::FilesFailed;
    }
    if (const std::optional<int> oRefused = oHost.ConfirmAhead()) {
        return *oRefused;
    }
    for (const QString& sPort : oOptions.asPorts) {
        asNames.append(PortName(sPort));
        asDevices.append(DeviceOf(sPort));
    }
    oLines.SetNames(asNames);
    if (!oRun.Start(oHanded->Bytes())) {
        oConsole.Err(
            QStringLiteral("tessivar-cli: the prepared image could not be handed over: %1\n")
                .arg(oRun.ErrorString()));
        return mdlExitStatus::FilesFailed;
    }
    if (oOptions.bRepeat) {
        connect(&oInputEnd.emplace(), &clsTerminalEnd::Ended, this, [this] { oRun.Stop(SIGTERM); });
    }
    if (!oRun.HasEnded()) {
        oLoop.exec();
    }
    oLines.TakeAway();
    oConsole.Out(Summary());
    return oRun.Status();
}

std::optional<clsHandedImage> clsPortsCommand::Prepare() {
    try {
        oApp.OpenUploadFiles(oOptions.sPath);
        oApp.PrepareImage();
        oHost.EndLog();
        return clsHandedImage{oApp.Prepared(), oApp.FilesAsRead()};
    } catch (const clsError& oError) {
        oHost.EndLog();
        oConsole.Err(mdlErrorText::ForTerminal(oError));
        return std::nullopt;
    }
}

// Each port's upload is this program again, told the port and to upload
// the image handed over without asking.
clsPortsRun::Launch clsPortsCommand::Launch() const {
    clsPortsRun::Launch oLaunch{
        .sProgram = QCoreApplication::applicationFilePath(),
        .asToImage = {QStringLiteral("upload"), QStringLiteral("--prepared")},
        .aPortArguments = {},
        .iFailed = mdlExitStatus::BoardFailed};
    // Progress drawn by this program, on a terminal alone; and what ends
    // on one terminal, through this program, as said there.
    QStringList asReport;
    if (mdlStandardStreams::ReadyForProgress()) {
        asReport << QStringLiteral("--report-progress");
    }
    if (mdlStandardStreams::OutputsShareTerminal()) {
        asReport << QStringLiteral("--one-terminal");
    }
    for (const QString& sPort : oOptions.asPorts) {
        oLaunch.aPortArguments.append(
            QStringList{QStringLiteral("--yes"), QStringLiteral("--port"), sPort} + asReport +
            oOptions.asPassedOn + oOptions.oSerial.ChildArguments() +
            QStringList{QStringLiteral("--"), oOptions.sPath});
    }
    return oLaunch;
}

void clsPortsCommand::OnStopSignal(int iSignal) {
    if (oHost.Asking()) {
        oHost.StopAsking();
    } else {
        oRun.Stop(iSignal);
    }
}

QString clsPortsCommand::Summary() const {
    QList<QStringList> aRows = {{"port", "device", "status", "time", "result"}};
    QStringList asFailed;
    for (qsizetype lPort = 0; lPort < aEnds.size(); ++lPort) {
        const PortEnd& oEnd = aEnds.at(lPort);
        aRows.append(
            {asNames.at(lPort), asDevices.at(lPort), QString::number(oEnd.iStatus),
             QString::number(double(oEnd.lElapsedMs) / 1000, 'f', 1) + QStringLiteral(" s"),
             oEnd.sResult});
        if (oEnd.iStatus != mdlExitStatus::Done) {
            asFailed.append(asNames.at(lPort));
        }
    }
    const QString sCount = QStringLiteral("Ports: %1 good, %2 failed")
                               .arg(aEnds.size() - asFailed.size())
                               .arg(asFailed.size());
    return mdlTextTable::Table(aRows) + sCount +
           (asFailed.isEmpty() ? QString() : QStringLiteral(": ") + asFailed.join(", ")) +
           QStringLiteral(".\n");
}
