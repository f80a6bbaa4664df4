#pragma once

#include <QDialog>
#include <QTimer>

#include <memory>

namespace Ui {
class frmPressMsg;
}

// Asks the technician to reset the board, with a plug that is pulled out
// and put back every second, while the upload waits for the board.
// Modeless, and gone with every close.
class frmPressMsg : public QDialog {
    Q_OBJECT

public:
    explicit frmPressMsg(QWidget* oParent = nullptr);
    ~frmPressMsg() override;

private:
    void tmrPlug_Timer();
    void ShowPlug(const QString& sIconName);
    void CentreOnScreen();

    std::unique_ptr<Ui::frmPressMsg> oUi;
    QTimer tmrPlug{this};
    // True while the inserted plug shows and the pulled-out one comes next.
    bool bPlugIn = false;
};
