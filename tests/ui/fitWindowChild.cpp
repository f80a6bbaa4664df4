#include "tests/support/clsStartedWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QScreen>

#include <cstdio>

// A child for tst_frmMain: the main window as it starts on the screen and
// at the font this process was given. Prints the name of each control that
// is not whole on the screen's available area, or whose caption is cut.
namespace {

bool CaptionCut(const QWidget& oControl) {
    const auto* oButton = qobject_cast<const QAbstractButton*>(&oControl);
    const auto* oLabel = qobject_cast<const QLabel*>(&oControl);
    QString sCaption = oButton != nullptr  ? oButton->text()
                       : oLabel != nullptr ? oLabel->text()
                                           : "";
    return oControl.fontMetrics().horizontalAdvance(sCaption.remove('&')) >
           oControl.contentsRect().width();
}

} // namespace

int main(int argc, char** argv) {
    const QApplication oApp(argc, argv);
    clsStartedWindow oUnit;
    QCoreApplication::processEvents();
    const QRect oScreen = oUnit.oWindow.screen()->availableGeometry();
    if (!oScreen.contains(oUnit.oWindow.frameGeometry())) {
        std::puts("frame");
    }
    for (const QWidget* oControl : oUnit.oWindow.findChildren<QWidget*>()) {
        const QRect oOnScreen(oControl->mapToGlobal(QPoint(0, 0)), oControl->size());
        if (oControl->isVisible() && !oControl->isWindow() &&
            (!oScreen.contains(oOnScreen) || CaptionCut(*oControl))) {
            std::puts(qPrintable(oControl->objectName()));
        }
    }
    return 0;
}
