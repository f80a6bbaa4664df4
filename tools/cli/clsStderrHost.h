#pragma once

#include "engine/clsEngineHost.h"
#include "engine/clsStatusText.h"
#include "tools/cli/clsConsole.h"

// Shows the status log on standard error as it grows, dots included.
class clsStderrHost : public clsEngineHost {
public:
    explicit clsStderrHost(clsConsole& oNewConsole) : oConsole(oNewConsole) {}

    void Status(const QString& sStatusLine) override;
    void ShowWaitDots() override;
    void SetMousePointer(eMousePointer) override {}
    // Ends the last status line, so that what follows starts on its own.
    void EndLog();

private:
    void Write(const QString& sAdded);

    clsConsole& oConsole;
    clsStatusText oText;
    bool bLineOpen = false;
};
