#pragma once

#include <QString>

class clsConsole;

// Standard output of the upload: the status log as it grows and, on a
// terminal only, the upload's progress after the open status line, drawn
// anew in place and taken away before the log goes on.
class clsProgressLine {
public:
    // bNewShown: whether the progress is shown at all. bNewHolding: the
    // log's last piece is held until the next, so that a line goes out with
    // its end: standard output passed on by a program such as tee reaches
    // a terminal later than standard error, and a line still open there
    // would run into the next message.
    clsProgressLine(clsConsole& oNewConsole, bool bNewShown, bool bNewHolding)
        : oConsole(oNewConsole), bShown(bNewShown), bHolding(bNewHolding) {}

    bool Shown() const { return bShown; }
    // Status log text.
    void Log(const QString& sAdded);
    // In place of the last progress; cut to what the line has room for, so
    // that it never wraps onto a line it could not take back.
    void Show(const QString& sProgress);

private:
    void TakeAway();
    // sAdded, as Log takes it, on standard output.
    void Write(const QString& sAdded);

    clsConsole& oConsole;
    bool bShown;
    bool bHolding;
    QString sHeld;
    // Where the open line of the log ends, and how much progress follows it.
    qsizetype lColumn = 0;
    qsizetype lDrawn = 0;
};
