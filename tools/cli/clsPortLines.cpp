#include "tools/cli/clsPortLines.h"

#include "platform/clsConsole.h"
#include "platform/mdlStandardStreams.h"

void clsPortLines::SetNames(const QStringList& asNewNames) {
    asNames = asNewNames;
    asOpen = QStringList(asNames.size());
}

void clsPortLines::Line(qsizetype lPort, const QString& sLine, QProcess::ProcessChannel iStream) {
    TakeAway();
    const QString sLed = QStringLiteral("[%1] %2\n").arg(asNames.at(lPort), sLine);
    if (iStream == QProcess::StandardError) {
        oConsole.Err(sLed);
    } else {
        oConsole.Out(sLed);
    }
    Draw();
}

void clsPortLines::OpenLine(qsizetype lPort, const QString& sSoFar) {
    if (!bLive || asOpen.at(lPort) == sSoFar) {
        return;
    }
    TakeAway();
    asOpen[lPort] = sSoFar;
    Draw();
}

void clsPortLines::TakeAway() {
    if (lDrawn > 0) {
        // To the first of them, and clear to the end of the screen.
        oConsole.Out(QStringLiteral("\r") +
                     (lDrawn > 1 ? QStringLiteral("\x1B[%1A").arg(lDrawn - 1) : QString()) +
                     QStringLiteral("\x1B[J"));
        lDrawn = 0;
    }
}

void clsPortLines::Draw() {
    if (!bLive) {
        return;
    }
    QStringList asRows;
    for (qsizetype lPort = 0; lPort < asOpen.size(); ++lPort) {
        if (!asOpen.at(lPort).isEmpty()) {
            // The last column is left free: a cursor there waits to wrap,
            // and a row that wrapped could not be taken back.
            asRows << QStringLiteral("[%1] %2")
                          .arg(asNames.at(lPort), asOpen.at(lPort))
                          .left(mdlStandardStreams::Width() - 1);
        }
    }
    if (!asRows.isEmpty()) {
        oConsole.Out(asRows.join(QLatin1Char('\n')));
        lDrawn = asRows.size();
    }
}
