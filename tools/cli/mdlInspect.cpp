#include "tools/cli/mdlInspect.h"

#include "engine/clsApplication.h"
#include "engine/clsUploadSummary.h"
#include "platform/clsConsole.h"
#include "tools/cli/clsLogHost.h"
#include "tools/cli/clsSerialOptions.h"
#include "tools/cli/mdlCommandLine.h"
#include "tools/cli/mdlErrorText.h"
#include "tools/cli/mdlExitStatus.h"
#include "tools/cli/mdlSummaryText.h"

namespace {

const auto sUsage =
    QStringLiteral("usage: tessivar-cli inspect [--json] [--serial ADDRESS:BYTES] FILE\n");

int Inspect(clsConsole& oConsole, const QString& sPath, bool bJson,
            const clsSerialOptions& oSerial) {
    clsLogHost oHost([&oConsole](const QString& sText) { oConsole.Err(sText); });
    clsApplication oApp(oHost);
    if (oSerial.Field()) {
        oApp.SetSerialField(*oSerial.Field());
    }
    try {
        oApp.PrepareUpload(sPath);
        const clsUploadSummary oSummary = clsUploadSummary::Of(oApp);
        oHost.EndLog();
        if (bJson) {
            oConsole.OutJson(mdlSummaryText::ToJson(oSummary));
        } else {
            oConsole.Out(mdlSummaryText::ToText(oSummary));
        }
        return mdlExitStatus::Done;
    } catch (const clsError& oError) {
        oHost.EndLog();
        oConsole.Err(mdlErrorText::ForTerminal(oError));
        if (bJson) {
            oConsole.OutJson(mdlErrorText::ToJson(oError));
        }
        return mdlExitStatus::FilesFailed;
    }
}

} // namespace

namespace mdlInspect {

int Run(clsConsole& oConsole, const QByteArrayList& aArguments) {
    QCommandLineParser oParser;
    oParser.setApplicationDescription(
        QStringLiteral("Prepares FILE and its command file exactly as Run does, and tells what\n"
                       "an upload of it would do. The status log goes to standard error."));
    const QCommandLineOption oJson(
        QStringLiteral("json"), QStringLiteral("The summary, or the error, as one line of JSON."));
    oParser.addOption(oJson);
    clsSerialOptions oSerial(false);
    oSerial.AddTo(oParser);
    mdlCommandLine::AddFileArgument(oParser);
    if (const std::optional<int> oDone =
            mdlCommandLine::Parse(oParser, sUsage, aArguments, oConsole)) {
        return *oDone;
    }
    const QString sPath = mdlCommandLine::OneFile(oParser);
    if (sPath.isEmpty()) {
        return mdlCommandLine::UsageError(oConsole, sUsage, QStringLiteral("one FILE is needed."));
    }
    if (const QString sWhy = oSerial.Take(oParser); !sWhy.isEmpty()) {
        return mdlCommandLine::UsageError(oConsole, sUsage, sWhy);
    }
    const bool bJson = oParser.isSet(oJson);
    if (!mdlCommandLine::IsFaithfulPath(oConsole, aArguments, sPath, bJson)) {
        return mdlExitStatus::FilesFailed;
    }
    return Inspect(oConsole, sPath, bJson, oSerial);
}

} // namespace mdlInspect
