#include "tools/cli/clsLogHost.h"

#include "engine/mdlTextUtil.h"

// A line can carry what the board sent (a reply it does not know): line
// noise must not reset or garble the technician's terminal.
void clsLogHost::Status(const QString& sStatusLine) {
    Write(oText.AppendLine(mdlTextUtil::Visible(sStatusLine)));
    if (!sStatusLine.isEmpty()) {
        sLastLine = sStatusLine;
    }
}

void clsLogHost::ShowWaitDots() {
    Write(oText.AppendWaitDots());
}

void clsLogHost::Write(const QString& sAdded) {
    const auto sLineEnd = QStringLiteral("\r\n");
    // A line ended early, for a message between status lines, is not ended
    // a second time.
    oWrite(bLineOpen || !sAdded.startsWith(sLineEnd) ? sAdded : sAdded.mid(sLineEnd.size()));
    bLineOpen = true;
}

void clsLogHost::EndLog() {
    if (bLineOpen) {
        oWrite(QStringLiteral("\n"));
        bLineOpen = false;
    }
}
