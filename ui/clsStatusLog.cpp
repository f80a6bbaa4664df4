#include "ui/clsStatusLog.h"

#include <QPlainTextEdit>
#include <QTextCursor>

namespace {
constexpr qint64 lRepaintIntervalMs = 40;
}

clsStatusLog::clsStatusLog(QPlainTextEdit& oNewBox) : oBox(oNewBox) {}

void clsStatusLog::AppendLine(const QString& sStatusLine) {
    Show(oText.AppendLine(sStatusLine));
}

void clsStatusLog::AppendWaitDots() {
    Show(oText.AppendWaitDots());
}

void clsStatusLog::Clear() {
    oText.Clear();
    oBox.clear();
}

void clsStatusLog::Show(const QString& sAdded) {
    // Writing through a cursor of our own leaves the view where it is.
    QTextCursor oEnd(oBox.document());
    oEnd.movePosition(QTextCursor::End);
    QString sShown = sAdded;
    oEnd.insertText(sShown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    // The box repaints on the event loop anyway; this only keeps the screen
    // current while a long step holds the loop.
    if (!oSinceRepaint.isValid() || oSinceRepaint.elapsed() >= lRepaintIntervalMs) {
        oBox.viewport()->repaint();
        oSinceRepaint.start();
    }
}
