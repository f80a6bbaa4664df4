#include "tools/cli/clsStderrHost.h"

#include <cstdio>

void clsStderrHost::Status(const QString& sStatusLine) {
    Write(oText.AppendLine(sStatusLine));
}

void clsStderrHost::ShowWaitDots() {
    Write(oText.AppendWaitDots());
}

void clsStderrHost::Write(const QString& sAdded) {
    QString sShown = sAdded;
    std::fputs(sShown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).toLocal8Bit(), stderr);
    std::fflush(stderr);
    bLineOpen = true;
}

void clsStderrHost::EndLog() {
    if (bLineOpen) {
        std::fputc('\n', stderr);
        bLineOpen = false;
    }
}
