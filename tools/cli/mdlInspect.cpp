#include "tools/cli/mdlInspect.h"

#include "engine/clsApplication.h"
#include "engine/clsUploadSummary.h"
#include "engine/mdlRunReport.h"
#include "tools/cli/clsStderrHost.h"
#include "tools/cli/mdlSummaryText.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace {

constexpr int iExitFailed = 1;
constexpr int iExitUsage = 2;

void Print(std::FILE* oStream, QString sText) {
    std::fputs(sText.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).toLocal8Bit(), oStream);
}

QString OneLine(const QJsonObject& oObject) {
    return QString::fromUtf8(QJsonDocument(oObject).toJson(QJsonDocument::Compact)) +
           QLatin1Char('\n');
}

} // namespace

namespace mdlInspect {

int Run(const QStringList& asArguments) {
    const bool bJson = asArguments.value(0) == QLatin1String("--json");
    const QStringList asFiles = asArguments.mid(bJson ? 1 : 0);
    if (asFiles.size() != 1 || asFiles.first().startsWith(QLatin1String("--"))) {
        Print(stderr, QStringLiteral("usage: tessivar-cli inspect [--json] FILE\n"));
        return iExitUsage;
    }

    clsStderrHost oHost;
    clsApplication oApp(oHost);
    try {
        oApp.PrepareUpload(asFiles.first());
        const clsUploadSummary oSummary = clsUploadSummary::Of(oApp);
        oHost.EndLog();
        Print(stdout,
              bJson ? OneLine(mdlSummaryText::ToJson(oSummary)) : mdlSummaryText::ToText(oSummary));
        return 0;
    } catch (const clsError& oError) {
        oHost.EndLog();
        Print(stderr, mdlRunReport::BoxText(oError) + QLatin1Char('\n'));
        if (bJson) {
            Print(stdout, OneLine({{QStringLiteral("error"), oError.Code()},
                                   {QStringLiteral("description"), oError.Description()}}));
        }
        return iExitFailed;
    }
}

} // namespace mdlInspect
