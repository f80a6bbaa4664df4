#include "tools/cli/mdlInspect.h"

#include "engine/clsApplication.h"
#include "engine/clsUploadSummary.h"
#include "tools/cli/clsConsole.h"
#include "tools/cli/clsStderrHost.h"
#include "tools/cli/mdlErrorText.h"
#include "tools/cli/mdlSummaryText.h"

#include <QFile>
#include <QJsonObject>

namespace {

constexpr int iExitFailed = 1;
constexpr int iExitUsage = 2;
constexpr int iExitOutputLost = 7;

// The bytes of a path for a message: printable ASCII as it is, every other
// byte as \xHH.
QString Escaped(const QByteArray& aPath) {
    QString sShown;
    for (const char cByte : aPath) {
        const auto yByte = quint8(cByte);
        sShown += yByte >= 0x20 && yByte < 0x7F
                      ? QString(QLatin1Char(cByte))
                      : QStringLiteral("\\x") +
                            QString::number(yByte, 16).toUpper().rightJustified(2, u'0');
    }
    return sShown;
}

int Inspect(clsConsole& oConsole, const QString& sPath, bool bJson) {
    clsStderrHost oHost(oConsole);
    clsApplication oApp(oHost);
    try {
        oApp.PrepareUpload(sPath);
        const clsUploadSummary oSummary = clsUploadSummary::Of(oApp);
        oHost.EndLog();
        if (bJson) {
            oConsole.OutJson(mdlSummaryText::ToJson(oSummary));
        } else {
            oConsole.Out(mdlSummaryText::ToText(oSummary));
        }
        return 0;
    } catch (const clsError& oError) {
        oHost.EndLog();
        oConsole.Err(mdlErrorText::ForTerminal(oError));
        if (bJson) {
            oConsole.OutJson(mdlErrorText::ToJson(oError));
        }
        return iExitFailed;
    }
}

} // namespace

namespace mdlInspect {

int Run(const QByteArrayList& aArguments) {
    clsConsole oConsole;
    const bool bJson = aArguments.value(0) == "--json";
    const QByteArrayList aFiles = aArguments.mid(bJson ? 1 : 0);
    if (aFiles.size() != 1 || aFiles.first().startsWith("--")) {
        oConsole.Err(QStringLiteral("usage: tessivar-cli inspect [--json] FILE\n"));
        return iExitUsage;
    }
    // A path that does not come back from text unchanged would name another
    // file, or none, and then be reported as one that cannot be opened.
    const QString sPath = QFile::decodeName(aFiles.first());
    int iExit = iExitFailed;
    if (QFile::encodeName(sPath) != aFiles.first()) {
        const QString sProblem =
            QStringLiteral("The path is not valid UTF-8: ") + Escaped(aFiles.first());
        oConsole.Err(QStringLiteral("tessivar-cli: ") + sProblem + QLatin1Char('\n'));
        if (bJson) {
            oConsole.OutJson(
                {{QStringLiteral("error"), 2000}, {QStringLiteral("description"), sProblem}});
        }
    } else {
        iExit = Inspect(oConsole, sPath, bJson);
    }
    return oConsole.Lost() ? iExitOutputLost : iExit;
}

} // namespace mdlInspect
