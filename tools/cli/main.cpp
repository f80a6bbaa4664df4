#include "platform/clsConsole.h"
#include "platform/mdlArguments.h"
#include "platform/mdlStandardStreams.h"
#include "tools/cli/mdlCommandLine.h"
#include "tools/cli/mdlExitStatus.h"
#include "tools/cli/mdlInspect.h"
#include "tools/cli/mdlLedger.h"
#include "tools/cli/mdlPorts.h"
#include "tools/cli/mdlUpload.h"

#include <QCoreApplication>
#include <QHash>

namespace {

const auto sUsage =
    QStringLiteral("usage: tessivar-cli VERB ...\n"
                   "verbs:\n"
                   "  inspect [--json] [--serial ADDRESS:BYTES] FILE\n"
                   "                          prepare FILE as Run does and summarise the upload\n"
                   "  upload [--repeat] [--port N|DEVICE]... [--yes] [--wait SECONDS]\n"
                   "         [--serial ADDRESS:BYTES[:FIRST] [--serial-store FILE]] FILE\n"
                   "                          upload FILE to the board, as Run does, to one\n"
                   "                          board after another, or to a board on each of\n"
                   "                          several ports at once, each board with a serial\n"
                   "                          number of its own\n"
                   "  ports [--json]          the device each port number stands for, and the\n"
                   "                          serial devices found\n"
                   "  ports --bind N DEVICE   let port number N stand for DEVICE\n"
                   "  ports --unbind N        let port number N stand for no device\n"
                   "  ledger [--json] [--last N]\n"
                   "                          the uploads recorded, newest last\n"
                   "Each verb tells more with --help.\n");

// Without a verb only --help and --version mean anything.
int WithoutVerb(clsConsole& oConsole, const QByteArrayList& aArguments) {
    QCommandLineParser oParser;
    oParser.addPositionalArgument(QStringLiteral("VERB"),
                                  QStringLiteral("inspect, upload, ports or ledger."));
    if (const std::optional<int> oDone =
            mdlCommandLine::Parse(oParser, sUsage, aArguments, oConsole)) {
        return *oDone;
    }
    return mdlCommandLine::UsageError(
        oConsole, sUsage,
        aArguments.isEmpty()
            ? QStringLiteral("no verb given.")
            : QStringLiteral("unknown verb '%1'.").arg(mdlArguments::Text(aArguments.first())));
}

} // namespace

// The headless face of the engine: one verb per job. The verbs take the
// arguments as the system gave them, so that a path is checked before it
// becomes text.
int main(int argc, char* argv[]) {
    mdlStandardStreams::Prepare();
    // GLib's event loop makes a system call for each socket it starts or
    // stops watching, several for every record sent; Qt's own makes none.
    qputenv("QT_NO_GLIB", "1");
    const QCoreApplication oQtApplication(argc, argv);
    const QByteArrayList aArguments = mdlArguments::Given(argc, argv);
    using Verb = int (*)(clsConsole&, const QByteArrayList&);
    const QHash<QByteArray, Verb> aVerbs = {{"inspect", &mdlInspect::Run},
                                            {"upload", &mdlUpload::Run},
                                            {"ports", &mdlPorts::Run},
                                            {"ledger", &mdlLedger::Run}};
    const Verb oVerb = aVerbs.value(aArguments.value(0));
    clsConsole oConsole;
    const int iStatus =
        oVerb ? oVerb(oConsole, aArguments.mid(1)) : WithoutVerb(oConsole, aArguments);
    return mdlExitStatus::Final(iStatus, oConsole);
}
