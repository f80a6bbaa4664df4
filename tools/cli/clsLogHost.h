#pragma once

#include "engine/clsEngineHost.h"
#include "engine/clsStatusText.h"

#include <functional>

// Shows the status log on a stream of the console as it grows, dots
// included.
class clsLogHost : public clsEngineHost {
public:
    using Writer = std::function<void(const QString& sText)>;

    explicit clsLogHost(Writer oNewWrite) : oWrite(std::move(oNewWrite)) {}

    void Status(const QString& sStatusLine) override;
    void ShowWaitDots() override;
    void SetMousePointer(eMousePointer) override {}
    // Ends the last status line, so that what follows starts on its own.
    void EndLog();
    // The last status line that was not empty: how the upload ended, once
    // it has.
    const QString& LastLine() const { return sLastLine; }

protected:
    // sLine as the last status line; empty for none.
    void SetLastLine(const QString& sLine) { sLastLine = sLine; }

private:
    void Write(const QString& sAdded);

    Writer oWrite;
    clsStatusText oText;
    bool bLineOpen = false;
    QString sLastLine;
};
