#pragma once

#include <QDialog>

class QPlainTextEdit;

// What support asks for about the machine the program runs on, as a text
// the technician can read and copy whole. Modeless, and gone with every close.
class frmSysInfo : public QDialog {
    Q_OBJECT

public:
    frmSysInfo(const QString& sReport, QWidget* oParent);

private:
    void cmdCopy_Click();

    QPlainTextEdit* txtReport;
};
