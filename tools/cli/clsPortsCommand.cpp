#include "tools/cli/clsPortsCommand.h"

#include "engine/mdlTextUtil.h"
#include "tools/cli/clsConsole.h"
#include "tools/cli/mdlCommandLine.h"
#include "tools/cli/mdlErrorText.h"
#include "tools/cli/mdlExitStatus.h"
#include "tools/cli/mdlTextTable.h"

#include <csignal>

namespace {

// As the lines and the table name a port given as sPort; a device's name
// escaped, as everything the table shows.
QString PortName(const QString& sPort) {
    const qint16 iPort = mdlCommandLine::PortNumber(sPort);
    return iPort > 0 ? QStringLiteral("port %1").arg(iPort) : mdlTextUtil::Visible(sPort);
}

QString DeviceOf(const QString& sPort) {
    const QString sDevice = mdlCommandLine::PortDevice(sPort);
    return sDevice.isEmpty() ? QStringLiteral("-") : mdlTextUtil::Visible(sDevice);
}

} // namespace

clsPortsCommand::clsPortsCommand(clsConsole& oNewConsole, const Options& oNewOptions)
    : oConsole(oNewConsole), oOptions(oNewOptions), oSerialNumbers(oNewOptions.oSerial.Numbering()),
      oHost(oNewConsole, oNewOptions.oHost), oApp(oHost) {
    oHost.Attach(oApp);
    if (oSerialNumbers) {
        oApp.NumberBoards(*oSerialNumbers);
    }
    connect(&oStopSignals, &clsStopSignals::Received, this, &clsPortsCommand::OnStopSignal);
}

int clsPortsCommand::Exec() {
    const std::optional<clsHandedImage> oHanded = Prepare();
    if (!oHanded) {
        return mdlExitStatus::FilesFailed;
    }
    if (const std::optional<int> oRefused = oHost.ConfirmAhead()) {
        return *oRefused;
    }
    if (QString sWhy; !oImageFile.Hold(oHanded->Bytes(), sWhy)) {
        oConsole.Err(
            QStringLiteral("tessivar-cli: the prepared image could not be handed over: %1\n")
                .arg(sWhy));
        return mdlExitStatus::FilesFailed;
    }
    StartPorts(oImageFile.PathInChildren());
    if (lEnded < qsizetype(aPorts.size())) {
        oLoop.exec();
    }
    oConsole.Out(Summary());
    return Status();
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

void clsPortsCommand::StartPorts(const QString& sImage) {
    for (const QString& sPort : oOptions.asPorts) {
        const auto& oPort = aPorts.emplace_back(
            std::make_unique<clsPortChild>(oConsole, PortName(sPort), DeviceOf(sPort)));
        connect(oPort.get(), &clsPortChild::Ended, this, &clsPortsCommand::OnPortEnded);
        oPort->Start(QStringList{QStringLiteral("upload"), QStringLiteral("--prepared"), sImage,
                                 QStringLiteral("--yes"), QStringLiteral("--port"), sPort} +
                     oOptions.asPassedOn + oOptions.oSerial.ChildArguments() +
                     QStringList{QStringLiteral("--"), oOptions.sPath});
    }
    if (oOptions.bRepeat) {
        connect(&oInputEnd.emplace(), &clsTerminalEnd::Ended, this, [this] { PassOn(SIGTERM); });
    }
}

void clsPortsCommand::OnStopSignal(int iSignal) {
    if (oHost.Asking()) {
        oHost.StopAsking();
    } else {
        PassOn(iSignal);
    }
}

void clsPortsCommand::PassOn(int iSignal) {
    for (const auto& oPort : aPorts) {
        oPort->Signal(iSignal);
    }
}

void clsPortsCommand::OnPortEnded() {
    if (++lEnded == qsizetype(aPorts.size())) {
        oLoop.exit();
    }
}

QString clsPortsCommand::Summary() const {
    QList<QStringList> aRows = {{"port", "device", "status", "time", "result"}};
    QStringList asFailed;
    for (const auto& oPort : aPorts) {
        aRows.append(
            {oPort->Name(), oPort->Device(), QString::number(oPort->Status()),
             QString::number(double(oPort->ElapsedMs()) / 1000, 'f', 1) + QStringLiteral(" s"),
             oPort->Result()});
        if (oPort->Status() != mdlExitStatus::Done) {
            asFailed.append(oPort->Name());
        }
    }
    const QString sCount = QStringLiteral("Ports: %1 good, %2 failed")
                               .arg(qsizetype(aPorts.size()) - asFailed.size())
                               .arg(asFailed.size());
    return mdlTextTable::Table(aRows) + sCount +
           (asFailed.isEmpty() ? QString() : QStringLiteral(": ") + asFailed.join(", ")) +
           QStringLiteral(".\n");
}

int clsPortsCommand::Status() const {
    const int iFirst = aPorts.front()->Status();
    const bool bAlike = std::all_of(aPorts.begin(), aPorts.end(), [iFirst](const auto& oPort) {
        return oPort->Status() == iFirst;
    });
    return bAlike ? iFirst : int(mdlExitStatus::BoardFailed);
}
