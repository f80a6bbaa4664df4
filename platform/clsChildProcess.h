#pragma once

#include <QProcess>

// A program this one starts and answers for: in a process group of its own,
// so that the terminal's Ctrl+C reaches it only as passed on, with input
// from the null device, and never outliving this program. On Unix SIGINT,
// SIGTERM and SIGHUP wait, held, until its handler takes them, and it hears
// SIGTERM should this process die. On Windows it shares this console and is
// made in a job that the system closes, ending it, when this process ends.
class clsChildProcess : public QProcess {
public:
    clsChildProcess();

    // False, errorString() saying why, when it could not be made to end
    // with this program; otherwise as QProcess::start.
    bool Launch(const QString& sProgram, const QStringList& asArguments);
    // A Stop to it while it runs: iSignal on Unix; on Windows Ctrl+Break,
    // the one console event that a process group can be sent.
    void Stop(int iSignal);

private:
    static void SendStop(qint64 lProcessId, int iSignal);
};
