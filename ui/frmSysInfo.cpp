#include "ui/frmSysInfo.h"

#include "resources/mdlResources.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QIcon>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmSysInfo::frmSysInfo(const QString& sReport, QWidget* oParent)
    : QDialog(oParent), txtReport(new QPlainTextEdit(sReport)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(mdlResources::WindowTitle() + QStringLiteral(" System Information"));
    setWindowIcon(QIcon(mdlResources::IconPath(QStringLiteral("QUELLIS_ICON"))));
    txtReport->setObjectName(QStringLiteral("txtReport"));
    txtReport->setReadOnly(true);
    txtReport->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtReport->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* oButtons = new QDialogButtonBox(QDialogButtonBox::Close);
    QPushButton* cmdCopy =
        oButtons->addButton(QStringLiteral("&Copy"), QDialogButtonBox::ActionRole);
    cmdCopy->setObjectName(QStringLiteral("cmdCopy"));
    connect(cmdCopy, &QPushButton::clicked, this, &frmSysInfo::cmdCopy_Click);
    connect(oButtons, &QDialogButtonBox::rejected, this, &QDialog::close);
    auto* oLayout = new QVBoxLayout(this);
    oLayout->addWidget(txtReport);
    oLayout->addWidget(oButtons);
    resize(720, 460);
}

void frmSysInfo::cmdCopy_Click() {
    QGuiApplication::clipboard()->setText(txtReport->toPlainText());
}
