#include "tests/support/clsStartedWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QScreen>

#include <cstdio>

// A child for tst_frmMain: the main window as it starts on the screen and
// at the font this process was given. Prints each control that is not
// whole on the screen's available area or whose caption is cut, and
// "frame" when the frame is not.
int main(int argc, char** argv) {
    const QApplication oApp(argc, argv);
    clsStartedWindow oUnit;
    QCoreApplication::processEvents();
    const QRect oScreen = oUnit.oWindow.screen()->availableGeometry();
    if (!oScreen.contains(oUnit.oWindow.frameGeometry())) {
        std::puts("frame");
    }
    for (const QWidget* oControl : oUnit.oWindow.findChildren<QWidget*>()) {
        const auto* oButton = qobject_cast<const QAbstractButton*>(oControl);
        const auto* oLabel = qobject_cast<const QLabel*>(oControl);
        const QString sCaption = QString(oButton  ? oButton->text()
                                         : oLabel ? oLabel->text()
                                                  : "")
                                     .remove('&');
        const bool bCut =
            oControl->fontMetrics().horizontalAdvance(sCaption) > oControl->contentsRect().width();
        const QRect oOnScreen(oControl->mapToGlobal(QPoint(0, 0)), oControl->size());
        if (oControl->isVisible() && (!oScreen.contains(oOnScreen) || bCut)) {
            std::printf("%s %s\n", oControl->metaObject()->className(),
                        qPrintable(oControl->objectName()));
        }
    }
    return 0;
}
