#include "tools/cli/clsProgressLine.h"

#include "platform/clsConsole.h"
#include "platform/mdlStandardStreams.h"

void clsProgressLine::Log(const QString& sAdded) {
    TakeAway();
    Write(sAdded);
    const qsizetype lLineEnd = sAdded.lastIndexOf(QLatin1Char('\n'));
    lColumn = lLineEnd < 0 ? lColumn + sAdded.size() : sAdded.size() - lLineEnd - 1;
}

void clsProgressLine::Show(const QString& sProgress) {
    if (!bShown) {
        return;
    }
    TakeAway();
    const qsizetype lWidth = mdlStandardStreams::Width();
    // The last column is left free: a cursor there waits to wrap.
    const QString sDrawn = (QStringLiteral("  ") + sProgress).left(lWidth - 1 - lColumn % lWidth);
    if (sDrawn.isEmpty()) {
        return;
    }
    // The cursor goes back to where the log goes on: what the terminal
    // echoes there, ^C above all, lands on the progress instead of
    // wrapping past the last column onto a line of its own.
    oConsole.Out(sDrawn + QStringLiteral("\x1B[%1D").arg(sDrawn.size()));
    lDrawn = sDrawn.size();
}

void clsProgressLine::Write(const QString& sAdded) {
    if (!bHolding) {
        oConsole.Out(sAdded);
        return;
    }
    const qsizetype lLineEnd = sAdded.startsWith(QStringLiteral("\r\n")) ? 2
                               : sAdded.startsWith(QLatin1Char('\n'))    ? 1
                                                                         : 0;
    const QString sOut = sHeld + sAdded.left(lLineEnd);
    sHeld = sAdded.mid(lLineEnd);
    if (!sOut.isEmpty()) {
        oConsole.Out(sOut);
    }
}

void clsProgressLine::TakeAway() {
    if (lDrawn > 0) {
        oConsole.Out(QStringLiteral("\x1B[K"));
        lDrawn = 0;
    }
}
