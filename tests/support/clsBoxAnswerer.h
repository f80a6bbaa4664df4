#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <functional>

// Answers every message box the program shows, as a technician would, and
// keeps what each one said.
class clsBoxAnswerer : public QObject {
public:
    struct Box {
        QString sCaption;
        QString sText;
        QMessageBox::Icon iIcon;
        QMessageBox::StandardButtons iButtons;
        int iHelpTopic;
    };

    clsBoxAnswerer() {
        connect(&oPoll, &QTimer::timeout, this, &clsBoxAnswerer::Answer);
        oPoll.start(10);
    }

    QList<Box> aBoxes;
    // The answer to the overwrite warning.
    bool bConfirm = true;
    // Runs while a box is open, before it is answered.
    std::function<void(QMessageBox&)> oWhileOpen;

private:
    void Answer() {
        auto* oBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (oBox == nullptr || oBox->property("answered").toBool()) {
            return;
        }
        oBox->setProperty("answered", true);
        aBoxes.append(
            {oBox->windowTitle(), oBox->text(), oBox->icon(), oBox->standardButtons(),
             oBox->property("helpTopic").isValid() ? oBox->property("helpTopic").toInt() : -3});
        if (oWhileOpen) {
            oWhileOpen(*oBox);
        }
        // A box the program took away meanwhile has had its answer.
        const bool bCancel = !bConfirm && oBox->button(QMessageBox::Cancel) != nullptr;
        if (oBox->isVisible()) {
            oBox->button(bCancel ? QMessageBox::Cancel : QMessageBox::Ok)->click();
        }
    }

    QTimer oPoll;
};
