#include "engine/clsStatusText.h"

QString clsStatusText::AppendLine(const QString& sStatusLine) {
    const QString sAdded = sText.isEmpty() ? sStatusLine : QStringLiteral("\r\n") + sStatusLine;
    sText += sAdded;
    return sAdded;
}

QString clsStatusText::AppendWaitDots() {
    const auto sDots = QStringLiteral(" .");
    sText += sDots;
    return sDots;
}
