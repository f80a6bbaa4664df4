#include "tools/cli/clsProgressLine.h"

#include "platform/clsConsole.h"
#include "platform/mdlStandardStreams.h"

void clsProgressLine::Log(const QString& sAdded) {
    TakeAway();
    oConsole.Out(sAdded);
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
    oConsole.Out(sDrawn);
    lDrawn = sDrawn.size();
}

void clsProgressLine::TakeAway() {
    if (lDrawn > 0) {
        // Back over it, and clear to the end of the line.
        oConsole.Out(QStringLiteral("\x1B[%1D\x1B[K").arg(lDrawn));
        lDrawn = 0;
    }
}
