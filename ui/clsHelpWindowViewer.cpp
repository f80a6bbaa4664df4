#include "ui/clsHelpWindowViewer.h"

#include <QApplication>
#include <QFileInfo>
#include <QWindow>

clsHelpWindowViewer::~clsHelpWindowViewer() {
    delete oWindow;
}

bool clsHelpWindowViewer::Show(const QString& sFile, qint32 /*lWindow*/, int iTopic) {
    const QFileInfo oFile(sFile);
    if (!oFile.isFile() || !oFile.isReadable()) {
        return false;
    }
    if (oWindow.isNull()) {
        oWindow = new frmHelp;
        oWindow->setAttribute(Qt::WA_DeleteOnClose);
    }
    oWindow->Open(sFile, iTopic);
    // A modal box blocks input to every window but those that stand on it,
    // and an error box's Help button opens the help while the box is open.
    const QWidget* oModal = QApplication::activeModalWidget();
    oWindow->winId();
    oWindow->windowHandle()->setTransientParent(oModal != nullptr ? oModal->windowHandle()
                                                                  : nullptr);
    oWindow->setWindowState(oWindow->windowState() & ~Qt::WindowMinimized);
    oWindow->show();
    oWindow->raise();
    oWindow->activateWindow();
    return true;
}

bool clsHelpWindowViewer::Close(const QString& /*sFile*/, qint32 /*lWindow*/) {
    return oWindow.isNull() || oWindow->close();
}
