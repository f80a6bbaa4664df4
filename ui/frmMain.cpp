#include "ui/frmMain.h"

#include "engine/mdlComms.h"
#include "resources/mdlResources.h"
#include "ui_frmMain.h"

#include <QGuiApplication>
#include <QIcon>

frmMain::frmMain(QWidget* oParent) : QMainWindow(oParent), oUi(std::make_unique<Ui::frmMain>()) {
    oUi->setupUi(this);
    oStatusLog = std::make_unique<clsStatusLog>(*oUi->txtStatus);
    mscCommPort = std::make_unique<clsSerialControl>(&mdlComms::DeviceOf);
    setWindowTitle(mdlResources::LoadResString(10));
    setWindowIcon(QIcon(mdlResources::IconPath(QStringLiteral("QUELLIS_ICON"))));
}

frmMain::~frmMain() = default;

void frmMain::Status(const QString& sStatusLine) {
    oStatusLog->AppendLine(sStatusLine);
}

void frmMain::ShowWaitDots() {
    oStatusLog->AppendWaitDots();
}

void frmMain::ClearStatus() {
    oStatusLog->Clear();
}

void frmMain::SetMousePointer(eMousePointer iPointer) {
    if (iPointer == vbDefault) {
        while (QGuiApplication::overrideCursor() != nullptr) {
            QGuiApplication::restoreOverrideCursor();
        }
        return;
    }
    const QCursor oCursor(iPointer == vbHourglass ? Qt::WaitCursor : Qt::BusyCursor);
    if (QGuiApplication::overrideCursor() != nullptr) {
        QGuiApplication::changeOverrideCursor(oCursor);
    } else {
        QGuiApplication::setOverrideCursor(oCursor);
    }
}
