#pragma once

#include "engine/clsPortChild.h"
#include "platform/clsUnnamedFile.h"

#include <QObject>

#include <memory>
#include <vector>

// One prepared image onto a board on each port at once, each port's upload
// in a child process of its own, so that nothing on one port, a crash
// included, stops or slows another. The face names the program that uploads
// and how it is told the port; the run hands each child the image, keeps
// one child per port to its end, passes Stop on and tells how they ended.
class clsPortsRun : public QObject {
    Q_OBJECT

public:
    struct Launch {
        QString sProgram;
        // A child's arguments up to the path it reads the image from, and
        // after it, those of each port's child: one port at least.
        QStringList asToImage;
        QList<QStringList> aPortArguments;
        // The status, in the child's terms, of a board that failed: a child
        // that crashed, was killed or never started counts as one, and so
        // does the run when its ports ended unlike.
        int iFailed = 0;
    };

    explicit clsPortsRun(const Launch& oNewLaunch);

    // Hands aImage over and starts every port's child; false, ErrorString()
    // saying why, when the image could not be handed over.
    bool Start(const QByteArray& aImage);
    const QString& ErrorString() const { return sError; }
    // A Stop to every port's child still running, once for each call.
    void Stop(int iSignal);
    bool HasEnded() const { return lEnded == qsizetype(aPorts.size()); }
    // Once ended: theirs when every port ended alike, a board's failure
    // when they did not.
    int Status() const;

signals:
    void LineCame(qsizetype lPort, const QString& sLine, QProcess::ProcessChannel iStream);
    void OpenLineCame(qsizetype lPort, const QString& sSoFar);
    void PortEnded(qsizetype lPort, int iStatus, const QString& sResult, qint64 lElapsedMs);
    void Ended(int iStatus);

private:
    void OnPortEnded(qsizetype lPort);

    Launch oLaunch;
    // Holds the image for the children: in no folder, so that no death of
    // this program or of theirs leaves it behind.
    clsUnnamedFile oImageFile;
    std::vector<std::unique_ptr<clsPortChild>> aPorts;
    qsizetype lEnded = 0;
    QString sError;
};
