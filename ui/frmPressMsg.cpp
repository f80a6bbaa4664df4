#include "ui/frmPressMsg.h"

#include "resources/mdlResources.h"
#include "ui/clsTwipsLayout.h"
#include "ui/mdlSecondaryWindow.h"
#include "ui_frmPressMsg.h"

#include <QIcon>
#include <QScreen>

namespace {

constexpr int iPlugInterval = 1000;

} // namespace

frmPressMsg::frmPressMsg(QWidget* oParent)
    : QDialog(oParent), oUi(std::make_unique<Ui::frmPressMsg>()) {
    oUi->setupUi(this);
    mdlSecondaryWindow::Prepare(*this);
    oUi->lblMessage->setText(mdlResources::LoadResString(eRes::ResetPrompt));
    clsTwipsLayout oLayout(*this, QSize(3795, 1770));
    oLayout.Place(*oUi->picPress, QRect(360, 480, 480, 480));
    oLayout.Place(*oUi->lblMessage, QRect(1320, 480, 2175, 855));
    oLayout.Apply();
    CentreOnScreen();
    ShowPlug(QStringLiteral("PLUGIN_ICON"));
    tmrPlug.setObjectName(QStringLiteral("tmrPlug"));
    connect(&tmrPlug, &QTimer::timeout, this, &frmPressMsg::tmrPlug_Timer);
    tmrPlug.start(iPlugInterval);
    bPlugIn = true;
}

frmPressMsg::~frmPressMsg() = default;

void frmPressMsg::tmrPlug_Timer() {
    ShowPlug(bPlugIn ? QStringLiteral("PLUGOUT_ICON") : QStringLiteral("PLUGIN_ICON"));
    bPlugIn = !bPlugIn;
}

void frmPressMsg::ShowPlug(const QString& sIconName) {
    mdlSecondaryWindow::ShowIcon(*oUi->picPress, QIcon(mdlResources::IconPath(sIconName)));
}

// A dialog would otherwise open over the main window.
void frmPressMsg::CentreOnScreen() {
    const QScreen* oScreen = parentWidget() != nullptr ? parentWidget()->screen() : screen();
    QRect oFrame(QPoint(0, 0), size());
    oFrame.moveCenter(oScreen->availableGeometry().center());
    move(oFrame.topLeft());
}
