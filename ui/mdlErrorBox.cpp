#include "ui/mdlErrorBox.h"

#include "engine/mdlErrorTable.h"

#include <QMessageBox>
#include <QPushButton>

namespace mdlErrorBox {

void Show(QWidget* oParent, const QString& sText, int iTopic,
          const std::function<void(int)>& oShowHelp) {
    QMessageBox oBox(QMessageBox::Critical, QStringLiteral("FATAL ERROR"), sText, QMessageBox::Ok,
                     oParent);
    oBox.setWindowModality(Qt::WindowModal);
    oBox.setProperty("helpTopic", iTopic);
    if (iTopic != mdlErrorTable::iNoHelp) {
        QAbstractButton* oHelp = oBox.addButton(QMessageBox::Help);
        // Every button closes the box unless its own connection goes.
        QObject::disconnect(oHelp, &QAbstractButton::clicked, nullptr, nullptr);
        QObject::connect(oHelp, &QAbstractButton::clicked, &oBox,
                         [iTopic, &oShowHelp] { oShowHelp(iTopic); });
    }
    oBox.setDefaultButton(QMessageBox::Ok);
    oBox.exec();
}

} // namespace mdlErrorBox
