#include "records/clsBoardTarget.h"
#include "tools/boardsim/clsBoardFlash.h"
#include "tools/boardsim/clsBoardSession.h"
#include "tools/boardsim/clsPtyMaster.h"
#include "tools/boardsim/clsSimOptions.h"
#include "tools/boardsim/clsSimSummary.h"
#include "tools/boardsim/mdlStopSignals.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>

#include <cstdio>

namespace {

constexpr int iExitFailed = 1;
constexpr int iExitUsage = 2;

int Fail(const QString& sWhy, int iExit) {
    std::fprintf(stderr, "tessivar-boardsim: %s\n", qPrintable(sWhy));
    return iExit;
}

bool WriteSummary(const QString& sPath, const QByteArray& aJson) {
    QFile oFile(sPath);
    const bool bOpen = sPath.isEmpty() ? oFile.open(stdout, QIODevice::WriteOnly)
                                       : oFile.open(QIODevice::WriteOnly | QIODevice::Truncate);
    return bOpen && oFile.write(aJson) == aJson.size() && oFile.flush();
}

int Report(const clsSimOptions& oOptions, const clsBoardFlash& oFlash,
           const clsSimSummary& oSummary) {
    if (!oOptions.sFlash.isEmpty() && !oFlash.SaveTo(oOptions.sFlash)) {
        return Fail(QStringLiteral("cannot write the flash to %1").arg(oOptions.sFlash),
                    iExitFailed);
    }
    const QByteArray aJson = QJsonDocument(oSummary.ToJson(oFlash)).toJson(QJsonDocument::Compact);
    if (!WriteSummary(oOptions.sSummary, aJson + '\n')) {
        return Fail(QStringLiteral("cannot write the summary"), iExitFailed);
    }
    return 0;
}

} // namespace

// Plays a target board on a pseudo-terminal for tests, demos and timings.
int main(int argc, char* argv[]) {
    mdlStopSignals::Install();
    const QCoreApplication oQtApplication(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tessivar-boardsim"));
    clsSimOptions oOptions;
    QString sProblem;
    if (!oOptions.Parse(QCoreApplication::arguments(), sProblem)) {
        return Fail(sProblem + QStringLiteral("\nSee tessivar-boardsim --help."), iExitUsage);
    }
    clsPtyMaster oLine;
    if (!oLine.Open(oOptions.sLink, sProblem)) {
        return Fail(sProblem, iExitFailed);
    }
    std::fprintf(stderr, "%s\n", qPrintable(oLine.SlavePath()));
    std::fflush(stderr);
    clsBoardFlash oFlash(clsBoardTarget::For(oOptions.yTarget).lTop + 1, oOptions.yFill);
    clsSimSummary oSummary;
    oSummary.yTarget = oOptions.yTarget;
    oSummary.yAnnounced = oOptions.yAnnounce;
    clsBoardSession(oOptions, oLine, oFlash, oSummary).Run();
    return Report(oOptions, oFlash, oSummary);
}
