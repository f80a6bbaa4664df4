#include "engine/clsPortsRun.h"

#include <algorithm>

clsPortsRun::clsPortsRun(const Launch& oNewLaunch) : oLaunch(oNewLaunch) {}

bool clsPortsRun::Start(const QByteArray& aImage) {
    if (!oImageFile.Hold(aImage, sError)) {
        return false;
    }
    const QStringList asToImage = oLaunch.asToImage + QStringList{oImageFile.PathInChildren()};
    for (qsizetype lPort = 0; lPort < oLaunch.aPortArguments.size(); ++lPort) {
        const auto& oPort = aPorts.emplace_back(std::make_unique<clsPortChild>(oLaunch.iFailed));
        connect(oPort.get(), &clsPortChild::LineCame, this,
                [this, lPort](const QString& sLine, QProcess::ProcessChannel iStream) {
                    emit LineCame(lPort, sLine, iStream);
                });
        connect(oPort.get(), &clsPortChild::OpenLineCame, this,
                [this, lPort](const QString& sSoFar) { emit OpenLineCame(lPort, sSoFar); });
        connect(oPort.get(), &clsPortChild::Ended, this, [this, lPort] { OnPortEnded(lPort); });
    }
    // Every port counted before any starts, so that one that never starts
    // cannot end the run before the others have begun.
    for (qsizetype lPort = 0; lPort < qsizetype(aPorts.size()); ++lPort) {
        aPorts[size_t(lPort)]->Start(oLaunch.sProgram,
                                     asToImage + oLaunch.aPortArguments.at(lPort));
    }
    return true;
}

void clsPortsRun::Stop(int iSignal) {
    for (const auto& oPort : aPorts) {
        oPort->Stop(iSignal);
    }
}

int clsPortsRun::Status() const {
    const int iFirst = aPorts.front()->Status();
    const bool bAlike = std::all_of(aPorts.begin(), aPorts.end(), [iFirst](const auto& oPort) {
        return oPort->Status() == iFirst;
    });
    return bAlike ? iFirst : oLaunch.iFailed;
}

void clsPortsRun::OnPortEnded(qsizetype lPort) {
    const clsPortChild& oPort = *aPorts[size_t(lPort)];
    emit PortEnded(lPort, oPort.Status(), oPort.Result(), oPort.ElapsedMs());
    if (++lEnded == qsizetype(aPorts.size())) {
        emit Ended(Status());
    }
}
