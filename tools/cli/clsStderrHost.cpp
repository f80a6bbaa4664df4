#include "tools/cli/clsStderrHost.h"

void clsStderrHost::Status(const QString& sStatusLine) {
    Write(oText.AppendLine(sStatusLine));
}

void clsStderrHost::ShowWaitDots() {
    Write(oText.AppendWaitDots());
}

void clsStderrHost::Write(const QString& sAdded) {
    oConsole.Err(sAdded);
    bLineOpen = true;
}

void clsStderrHost::EndLog() {
    if (bLineOpen) {
        oConsole.Err(QStringLiteral("\n"));
        bLineOpen = false;
    }
}
