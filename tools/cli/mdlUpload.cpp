#include "tools/cli/mdlUpload.h"

#include "engine/mdlPortChoice.h"
#include "engine/mdlTextUtil.h"
#include "platform/clsConsole.h"
#include "platform/clsPortBindings.h"
#include "tools/cli/clsPortsCommand.h"
#include "tools/cli/clsUploadCommand.h"
#include "tools/cli/mdlCommandLine.h"
#include "tools/cli/mdlExitStatus.h"

#include <algorithm>

namespace {

const auto sUsage = QStringLiteral(
    "usage: tessivar-cli upload [--repeat] [--port N|DEVICE]... [--yes] [--wait SECONDS]\n"
    "                           [--serial ADDRESS:BYTES[:FIRST] [--serial-store FILE]] "
    "FILE\n");

const auto sNoPort = QStringLiteral("--port takes a port number from 1 to %1, or a device.")
                         .arg(clsPortBindings::iLastPort);

constexpr qint32 lLongestWait = 24 * 60 * 60;

struct Options {
    QCommandLineOption oPort{
        QStringLiteral("port"),
        QStringLiteral("Port number N (1 to %1) for this upload, or the device DEVICE; the "
                       "stored port number when absent. Given twice or more, the same image "
                       "goes onto a board on each port at once: each upload runs in a "
                       "tessivar-cli of its own, its lines led by its port, and a table of the "
                       "ports ends the output. On a terminal, a line for each port shows its open "
                       "line and its progress as it goes.")
            .arg(clsPortBindings::iLastPort),
        QStringLiteral("N|DEVICE")};
    QCommandLineOption oYes{QStringLiteral("yes"),
                            QStringLiteral("Answer the overwrite warning with OK instead of "
                                           "asking on standard input.")};
    QCommandLineOption oWait{QStringLiteral("wait"),
                             QStringLiteral("Give up when the board has not announced itself "
                                            "within SECONDS (1 to 86400) after the port opened; "
                                            "with --repeat, end the run when the next board has "
                                            "not."),
                             QStringLiteral("SECONDS")};
    QCommandLineOption oRepeat{
        QStringLiteral("repeat"),
        QStringLiteral(
            "Upload to one board after another on the port, each getting the image "
            "prepared at the start, until Ctrl+C, SIGTERM, SIGHUP or the end of a terminal's "
            "input between boards. The warning is asked once.")};
    // How the command with several ports hands each port's upload the image.
    QCommandLineOption oPrepared{QStringLiteral("prepared"),
                                 QStringLiteral("The image another tessivar-cli prepared of FILE, "
                                                "uploaded without reading FILE."),
                                 QStringLiteral("IMAGE")};

    // How that command has each port's upload report its progress.
    QCommandLineOption oReportProgress{
        QStringLiteral("report-progress"),
        QStringLiteral("The upload's progress as lines on standard error, for another "
                       "tessivar-cli to draw.")};

    // How it tells each port's upload that its lines end on one terminal.
    QCommandLineOption oOneTerminal{
        QStringLiteral("one-terminal"),
        QStringLiteral("Standard output and standard error end on one terminal, through "
                       "another tessivar-cli.")};

    Options() {
        for (QCommandLineOption* pHidden : {&oPrepared, &oReportProgress, &oOneTerminal}) {
            pHidden->setFlags(QCommandLineOption::HiddenFromHelp);
        }
    }
    // What every port's upload gets as given; an option added later that
    // each port's upload is to take is named here.
    std::vector<const QCommandLineOption*> PassedOn() const { return {&oRepeat, &oWait}; }
};

// --port as a number or a device; false for a number out of range, or
// nothing.
bool TakePort(const QString& sPort, clsUploadCommand::Options& oOptions) {
    const std::optional<mdlPortChoice::Choice> oChoice = mdlPortChoice::Of(sPort);
    if (oChoice) {
        oOptions.iPort = oChoice->iPort;
        oOptions.oHost.sDevice = oChoice->sDevice;
    }
    return oChoice.has_value();
}

// Every --port value; what is wrong with them, empty when nothing is.
QString PortsMisused(const QStringList& asPorts) {
    QStringList asIdentities;
    for (const QString& sPort : asPorts) {
        if (!mdlPortChoice::Of(sPort)) {
            return sNoPort;
        }
        // One device named twice shows; a number bound to none stays a number.
        const QString sIdentity = mdlPortChoice::Identity(sPort);
        if (asIdentities.contains(sIdentity)) {
            return QStringLiteral("--port %1 names a port already given.").arg(sPort);
        }
        asIdentities.append(sIdentity);
    }
    return {};
}

// The options in oOptions.PassedOn() as they were given.
QStringList PassedOn(const QCommandLineParser& oParser, const Options& oOptions) {
    QStringList asArguments;
    for (const QCommandLineOption* pOption : oOptions.PassedOn()) {
        const QString sName = QStringLiteral("--") + pOption->names().constFirst();
        if (pOption->valueName().isEmpty() && oParser.isSet(*pOption)) {
            asArguments.append(sName);
        }
        for (const QString& sValue : oParser.values(*pOption)) {
            asArguments << sName << sValue;
        }
    }
    return asArguments;
}

// --wait in whole seconds; false when it is none from 1 to a day.
bool TakeWait(const QString& sWait, clsUploadCommand::Options& oOptions) {
    bool bNumber = false;
    const qint32 lWait = sWait.toInt(&bNumber);
    if (!bNumber || lWait < 1 || lWait > lLongestWait) {
        return false;
    }
    oOptions.lWaitMs = lWait * 1000;
    return true;
}

// Takes the upload's options from oParser; what is wrong with them, empty
// when nothing is.
QString Misused(const QCommandLineParser& oParser, const Options& oOptions,
                clsUploadCommand::Options& oUpload) {
    oUpload.sPath = mdlCommandLine::OneFile(oParser);
    oUpload.oHost.bConfirmed = oParser.isSet(oOptions.oYes);
    oUpload.oHost.bOneTerminal = oParser.isSet(oOptions.oOneTerminal);
    if (oUpload.sPath.isEmpty()) {
        return QStringLiteral("one FILE is needed.");
    }
    if (const QString sWhy = oUpload.oSerial.Take(oParser); !sWhy.isEmpty()) {
        return sWhy;
    }
    const QStringList asPorts = oParser.values(oOptions.oPort);
    if (asPorts.size() > 1) {
        if (const QString sWhy = PortsMisused(asPorts); !sWhy.isEmpty()) {
            return sWhy;
        }
    } else if (!asPorts.isEmpty() && !TakePort(asPorts.first(), oUpload)) {
        return sNoPort;
    }
    if (oParser.isSet(oOptions.oWait) && !TakeWait(oParser.value(oOptions.oWait), oUpload)) {
        return QStringLiteral("--wait takes a whole number of seconds from 1 to %1.")
            .arg(lLongestWait);
    }
    return {};
}

// FILE, every --port and --serial-store, checked against the bytes the
// system gave: false once one was refused.
bool ArePathsFaithful(clsConsole& oConsole, const QByteArrayList& aArguments,
                      const QCommandLineParser& oParser, const Options& oOptions,
                      const clsUploadCommand::Options& oUpload) {
    const QStringList asPaths = QStringList{oUpload.sPath} + oParser.values(oOptions.oPort) +
                                oParser.values(oUpload.oSerial.StoreOption());
    return std::all_of(asPaths.cbegin(), asPaths.cend(), [&](const QString& sPath) {
        return mdlCommandLine::IsFaithfulPath(oConsole, aArguments, sPath, false);
    });
}

// The same image onto a board on each port at once.
int UploadToPorts(clsConsole& oConsole, const QCommandLineParser& oParser, const Options& oOptions,
                  const clsUploadCommand::Options& oUpload) {
    return clsPortsCommand(oConsole, {.sPath = oUpload.sPath,
                                      .asPorts = oParser.values(oOptions.oPort),
                                      .asPassedOn = PassedOn(oParser, oOptions),
                                      .bRepeat = oParser.isSet(oOptions.oRepeat),
                                      .oHost = oUpload.oHost,
                                      .oSerial = oUpload.oSerial})
        .Exec();
}

// The image handed over with --prepared, if any; false when there is none
// to read.
bool TakeHandedImage(clsConsole& oConsole, const QCommandLineParser& oParser,
                     const Options& oOptions, clsUploadCommand::Options& oUpload) {
    if (!oParser.isSet(oOptions.oPrepared)) {
        return true;
    }
    QString sWhy;
    oUpload.oHanded = clsHandedImage::Load(oParser.value(oOptions.oPrepared), sWhy);
    if (!oUpload.oHanded) {
        oConsole.Err(QStringLiteral("tessivar-cli: %1 holds no prepared image: %2.\n")
                         .arg(mdlTextUtil::Visible(oParser.value(oOptions.oPrepared)), sWhy));
    }
    return oUpload.oHanded.has_value();
}

} // namespace

namespace mdlUpload {

int Run(clsConsole& oConsole, const QByteArrayList& aArguments) {
    QCommandLineParser oParser;
    oParser.setApplicationDescription(
        QStringLiteral("Prepares FILE and its command file, opens the port and uploads to the\n"
                       "board as Run does; the status log goes to standard output. Ctrl+C,\n"
                       "SIGTERM and SIGHUP are Stop. With --repeat, a line per board and a\n"
                       "count at the end: exit status 0 when every board took the image, 3\n"
                       "when one failed; with no board at all, 6 when stopped, 3 when --wait\n"
                       "ran out. With several --port, the status of every port's upload when\n"
                       "all ended alike, 3 when they did not. With --serial, exit status 1\n"
                       "when the serial number's bytes or its counter file cannot be used,\n"
                       "before any port opens; a board that gets no number fails."));
    const Options oOptions;
    clsUploadCommand::Options oUpload;
    oParser.addOptions({oOptions.oRepeat, oOptions.oPort, oOptions.oYes, oOptions.oWait,
                        oOptions.oPrepared, oOptions.oReportProgress, oOptions.oOneTerminal});
    oUpload.oSerial.AddTo(oParser);
    mdlCommandLine::AddFileArgument(oParser);
    if (const std::optional<int> oDone =
            mdlCommandLine::Parse(oParser, sUsage, aArguments, oConsole)) {
        return *oDone;
    }
    if (const QString sWhy = Misused(oParser, oOptions, oUpload); !sWhy.isEmpty()) {
        return mdlCommandLine::UsageError(oConsole, sUsage, sWhy);
    }
    if (!ArePathsFaithful(oConsole, aArguments, oParser, oOptions, oUpload)) {
        return mdlExitStatus::FilesFailed;
    }
    if (oParser.values(oOptions.oPort).size() > 1) {
        return UploadToPorts(oConsole, oParser, oOptions, oUpload);
    }
    if (!TakeHandedImage(oConsole, oParser, oOptions, oUpload)) {
        return mdlExitStatus::FilesFailed;
    }
    oUpload.bRepeat = oParser.isSet(oOptions.oRepeat);
    oUpload.bReportProgress = oParser.isSet(oOptions.oReportProgress);
    return clsUploadCommand(oConsole, oUpload).Exec();
}

} // namespace mdlUpload
