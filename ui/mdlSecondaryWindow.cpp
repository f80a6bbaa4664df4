#include "ui/mdlSecondaryWindow.h"

#include "resources/mdlResources.h"

#include <QDialog>
#include <QIcon>
#include <QLabel>

namespace mdlSecondaryWindow {

void Prepare(QDialog& oWindow) {
    oWindow.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                           Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    oWindow.setAttribute(Qt::WA_DeleteOnClose);
    oWindow.setWindowTitle(mdlResources::WindowTitle());
    oWindow.setWindowIcon(QIcon(mdlResources::IconPath(QStringLiteral("QUELLIS_ICON"))));
}

void ShowIcon(QLabel& oPicture, const QIcon& oIcon) {
    oPicture.setPixmap(oIcon.pixmap(oPicture.size(), oPicture.devicePixelRatioF()));
}

} // namespace mdlSecondaryWindow
