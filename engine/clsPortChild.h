#pragma once

#include "platform/clsChildProcess.h"

#include <QElapsedTimer>
#include <QObject>

// One port's upload in a child process of its own: its output a whole line
// at a time, and how it ended.
class clsPortChild : public QObject {
    Q_OBJECT

public:
    // iNewFailed: the status, in the child's terms, of a board that failed.
    explicit clsPortChild(int iNewFailed);
    // Ends the child, if it runs, without a word of it from this object.
    ~clsPortChild() override;
    clsPortChild(const clsPortChild&) = delete;
    clsPortChild& operator=(const clsPortChild&) = delete;

    void Start(const QString& sProgram, const QStringList& asArguments);
    void Stop(int iSignal) { oProcess.Stop(iSignal); }

    // Once Ended: the exit status, a crash, a kill or no start as a board's
    // failure.
    int Status() const;
    // The last line of its standard output that was not empty, and what
    // went wrong with the process, if anything did.
    QString Result() const;
    qint64 ElapsedMs() const { return lElapsedMs; }

signals:
    void LineCame(const QString& sLine, QProcess::ProcessChannel iStream);
    // What has come so far of the line its standard output has open, dots
    // and all; empty once the line has ended.
    void OpenLineCame(const QString& sSoFar);
    void Ended();

private:
    // What came on iChannel, a whole line at a time; bAtEnd, a last line
    // without its end too.
    void PassOn(QProcess::ProcessChannel iChannel, bool bAtEnd);
    void Show(QProcess::ProcessChannel iChannel, const QString& sLine);
    void OnFinished(int iExitCode, QProcess::ExitStatus iExitStatus);
    void OnErrorOccurred(QProcess::ProcessError iError);
    void NotStarted(const QString& sWhy);
    void End();

    clsChildProcess oProcess;
    // The part of each stream's last line that has come so far.
    QByteArray aPartial[2];
    QString sLastLine;
    // Empty unless the process crashed, was killed or never started.
    QString sTrouble;
    QElapsedTimer oSinceStart;
    qint64 lElapsedMs = 0;
    int iFailed;
    int iExitCode = 0;
};
