#pragma once

#include <QString>

class clsConsole;

// Standard output of the upload: the status log as it grows and, on a
// terminal only, the upload's progress after the open status line, drawn
// anew in place and taken away before the log goes on.
class clsProgressLine {
public:
    // bNewShown: whether the progress is shown at all.
    clsProgressLine(clsConsole& oNewConsole, bool bNewShown)
        : oConsole(oNewConsole), bShown(bNewShown) {}

    bool Shown() const { return bShown; }
    // Status log text.
    void Log(const QString& sAdded);
    // In place of the last progress; cut to what the line has room for, so
    // that it never wraps onto a line it could not take back.
    void Show(const QString& sProgress);

private:
    void TakeAway();

    clsConsole& oConsole;
    bool bShown;
    // Where the open line of the log ends, and how much progress follows it.
    qsizetype lColumn = 0;
    qsizetype lDrawn = 0;
};
