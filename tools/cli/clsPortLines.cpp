#include "tools/cli/clsPortLines.h"

#include "platform/clsConsole.h"
#include "platform/mdlStandardStreams.h"

namespace {

// Leads a line of progress: no line of the log or of a message begins with
// it, their control characters being escaped.
constexpr QChar cProgress = u'\x1E';

} // namespace

QString clsPortLines::ProgressLine(const QString& sProgress) {
    return cProgress + sProgress + QLatin1Char('\n');
}

void clsPortLines::SetNames(const QStringList& asNewNames) {
    asNames = asNewNames;
    asOpen = QStringList(asNames.size());
    asProgress = QStringList(asNames.size());
}

void clsPortLines::Line(qsizetype lPort, const QString& sLine, QProcess::ProcessChannel iStream) {
    if (iStream == QProcess::StandardError && sLine.startsWith(cProgress)) {
        Redraw(asProgress[lPort], sLine.mid(1));
        return;
    }
    TakeAway();
    // The line the progress followed has ended.
    if (iStream == QProcess::StandardOutput) {
        asProgress[lPort].clear();
    }
    const QString sLed = QStringLiteral("[%1] %2\n").arg(asNames.at(lPort), sLine);
    if (iStream == QProcess::StandardError) {
        oConsole.Err(sLed);
    } else {
        oConsole.Out(sLed);
    }
    Draw();
}

void clsPortLines::OpenLine(qsizetype lPort, const QString& sSoFar) {
    Redraw(asOpen[lPort], sSoFar);
}

void clsPortLines::Redraw(QString& sPart, const QString& sNew) {
    if (!bLive || sPart == sNew) {
        return;
    }
    TakeAway();
    sPart = sNew;
    Draw();
}

void clsPortLines::TakeAway() {
    if (lDrawn > 0) {
        // Whatever the terminal echoed at the cursor goes with them.
        oConsole.Out(QStringLiteral("\r\x1B[J"));
        lDrawn = 0;
    }
}

void clsPortLines::Draw() {
    if (!bLive) {
        return;
    }
    QStringList asRows;
    for (qsizetype lPort = 0; lPort < asOpen.size(); ++lPort) {
        const QString sRow =
            (asOpen.at(lPort) + QStringLiteral("  ") + asProgress.at(lPort)).trimmed();
        if (!sRow.isEmpty()) {
            // The last column is left free: a cursor there waits to wrap,
            // and a row that wrapped could not be taken back.
            asRows << QStringLiteral("[%1] %2")
                          .arg(asNames.at(lPort), sRow)
                          .left(mdlStandardStreams::Width() - 1);
        }
    }
    if (!asRows.isEmpty()) {
        // The cursor goes back to the first of them: what the terminal
        // echoes there, ^C above all, cannot wrap onto a line of its own.
        lDrawn = asRows.size();
        oConsole.Out(asRows.join(QLatin1Char('\n')) + QLatin1Char('\r') +
                     (lDrawn > 1 ? QStringLiteral("\x1B[%1A").arg(lDrawn - 1) : QString()));
    }
}
