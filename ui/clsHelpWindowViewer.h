#pragma once

#include "platform/clsHelpViewer.h"
#include "ui/frmHelp.h"

#include <QPointer>

// Shows help in the program's one help window, usable even while a modal
// box is open.
class clsHelpWindowViewer : public clsHelpViewer {
public:
    clsHelpWindowViewer() = default;
    clsHelpWindowViewer(const clsHelpWindowViewer&) = delete;
    clsHelpWindowViewer& operator=(const clsHelpWindowViewer&) = delete;
    ~clsHelpWindowViewer() override;

    bool Show(const QString& sFile, qint32 lWindow, int iTopic) override;
    bool Close(const QString& sFile, qint32 lWindow) override;

    // The help window while it is open; null otherwise.
    frmHelp* Window() const { return oWindow; }

private:
    QPointer<frmHelp> oWindow;
};
