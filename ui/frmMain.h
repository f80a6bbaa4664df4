#pragma once

#include "engine/clsEngineHost.h"
#include "platform/clsSerialControl.h"
#include "ui/clsStatusLog.h"

#include <QMainWindow>

#include <memory>

namespace Ui {
class frmMain;
}

// The main window: the face of the engine.
class frmMain : public QMainWindow, public clsEngineHost {
    Q_OBJECT

public:
    explicit frmMain(QWidget* oParent = nullptr);
    ~frmMain() override;

    void Status(const QString& sStatusLine) override;
    void ShowWaitDots() override;
    void ClearStatus();
    // The status log as lines joined by CR LF.
    const QString& StatusText() const { return oStatusLog->Text(); }

    void SetMousePointer(eMousePointer iPointer) override;
    clsSerialControl& CommPort() override { return *mscCommPort; }

private:
    std::unique_ptr<Ui::frmMain> oUi;
    std::unique_ptr<clsStatusLog> oStatusLog;
    std::unique_ptr<clsSerialControl> mscCommPort;
};
