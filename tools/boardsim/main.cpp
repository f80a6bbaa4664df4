#include "tools/boardsim/clsBoardFlash.h"
#include "tools/boardsim/clsBoardSession.h"
#include "tools/boardsim/clsPtyMaster.h"
#include "tools/boardsim/clsSimOptions.h"
#include "tools/boardsim/clsSimSummary.h"
#include "tools/boardsim/clsSimTarget.h"
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

// Board lBoard's session on oLine, with its summary line added to aJson;
// false when its flash could not be written where asked.
bool PlayBoard(const clsSimOptions& oOptions, clsPtyMaster& oLine, qint32 lBoard,
               clsSimSummary& oSummary, QByteArray& aJson) {
    clsSimOptions oBoardOptions = oOptions;
    oBoardOptions.oFaults = oOptions.oFaults.ForBoard(lBoard);
    clsBoardFlash oFlash(clsSimTarget::For(oOptions.yTarget).lFlashSize, oOptions.yFill);
    oSummary.lBoard = lBoard;
    oSummary.yTarget = oOptions.yTarget;
    oSummary.yAnnounced = oOptions.yAnnounce;
    clsBoardSession(oBoardOptions, oLine, oFlash, oSummary).Run();
    aJson += QJsonDocument(oSummary.ToJson(oFlash)).toJson(QJsonDocument::Compact) + '\n';
    return oOptions.sFlash.isEmpty() || oFlash.SaveTo(oOptions.sFlash);
}

} // namespace

// Plays a target board on a pseudo-terminal for tests, demos and timings.
int main(int argc, char* argv[]) {
    mdlStopSignals::Install();
    const QCoreApplication oQtApplication(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tessivar-boardsim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TESSIVAR_VERSION));
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
    QByteArray aJson;
    // Only a port that stayed closed lets the next board come.
    for (qint32 lBoard = 1; lBoard <= oOptions.lBoards; ++lBoard) {
        clsSimSummary oSummary;
        if (!PlayBoard(oOptions, oLine, lBoard, oSummary, aJson)) {
            return Fail(QStringLiteral("cannot write the flash to %1").arg(oOptions.sFlash),
                        iExitFailed);
        }
        if (oSummary.sEnded != QLatin1String("linger")) {
            break;
        }
    }
    if (!WriteSummary(oOptions.sSummary, aJson)) {
        return Fail(QStringLiteral("cannot write the summary"), iExitFailed);
    }
    return 0;
}
