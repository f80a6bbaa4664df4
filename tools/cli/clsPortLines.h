#pragma once

#include <QProcess>
#include <QStringList>

class clsConsole;

// The lines of several ports' uploads on the console, each led by its
// port, a whole line as soon as it has come; on a terminal, below them one
// line for each port with what has come of the line it has open and its
// progress, drawn anew in place and taken away before anything else is
// written.
class clsPortLines {
public:
    clsPortLines(clsConsole& oNewConsole, bool bNewLive) : oConsole(oNewConsole), bLive(bNewLive) {}

    // Each port as its lines name it.
    void SetNames(const QStringList& asNewNames);
    void Line(qsizetype lPort, const QString& sLine, QProcess::ProcessChannel iStream);
    void OpenLine(qsizetype lPort, const QString& sSoFar);
    // sProgress as a port's upload reports it on standard error, for Line
    // to take for the port's progress.
    static QString ProgressLine(const QString& sProgress);
    // Takes the ports' open lines away, for what ends the output.
    void TakeAway();

private:
    // sPart of a port's line as sNew, drawn anew where it changed.
    void Redraw(QString& sPart, const QString& sNew);
    void Draw();

    clsConsole& oConsole;
    bool bLive;
    QStringList asNames;
    QStringList asOpen;
    QStringList asProgress;
    qsizetype lDrawn = 0;
};
