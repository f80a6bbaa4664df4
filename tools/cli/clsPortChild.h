#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QProcess>

class clsConsole;

// One port's upload in a tessivar-cli of its own: its output passed on a
// whole line at a time, each line led by the port's name, and how it ended.
class clsPortChild : public QObject {
    Q_OBJECT

public:
    // sNewName: the port as the lines and the table name it; sNewDevice:
    // the device it stands for, for the table.
    clsPortChild(clsConsole& oNewConsole, const QString& sNewName, const QString& sNewDevice);

    // Starts tessivar-cli with asArguments in a process group of its own,
    // so that the terminal's Ctrl+C reaches it only as passed on, with
    // input from the null device. On Unix SIGINT, SIGTERM and SIGHUP wait,
    // held, until its handler takes them, and it hears SIGTERM should this
    // process die. On Windows it shares this console and is made in a job
    // that the system closes, ending it, when this process ends.
    void Start(const QStringList& asArguments);
    // A Stop to the upload, unless it has ended: iSignal on Unix; on Windows
    // Ctrl+Break, the one console event that a process group can be sent.
    void Signal(int iSignal);

    const QString& Name() const { return sName; }
    const QString& Device() const { return sDevice; }
    // Once Ended: the exit status, a crash or a kill as a board's failure.
    int Status() const;
    // The last line of its status log that was not empty, and what went
    // wrong with the process, if anything did.
    QString Result() const;
    qint64 ElapsedMs() const { return lElapsedMs; }

signals:
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
    static void SendStop(qint64 lProcessId, int iSignal);

    clsConsole& oConsole;
    QString sName;
    QString sDevice;
    QProcess oProcess;
    // The part of each stream's last line that has come so far.
    QByteArray aPartial[2];
    QString sLastLine;
    // Empty unless the process crashed, was killed or never started.
    QString sTrouble;
    QElapsedTimer oSinceStart;
    qint64 lElapsedMs = 0;
    int iExitCode = 0;
    bool bEnded = false;
};
