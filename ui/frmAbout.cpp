#include "ui/frmAbout.h"

#include "resources/mdlResources.h"
#include "ui/clsTwipsLayout.h"
#include "ui/mdlSecondaryWindow.h"
#include "ui_frmAbout.h"

#include <QDate>
#include <QLocale>
#include <QMessageBox>

namespace {

// The build date is written in English whatever the user's language; it is
// shown in the user's own long form. An unreadable date shows as nothing.
QString LongBuildDate() {
    const QDate oDate =
        QLocale::c().toDate(mdlResources::Comments(), QStringLiteral("d MMMM yyyy"));
    return QLocale().toString(oDate, QLocale::LongFormat);
}

} // namespace

frmAbout::frmAbout(QWidget* oParent, SysInfoOpener oNewOpenSysInfo)
    : QDialog(oParent), oUi(std::make_unique<Ui::frmAbout>()),
      oOpenSysInfo(std::move(oNewOpenSysInfo)) {
    oUi->setupUi(this);
    mdlSecondaryWindow::Prepare(*this);
    Load();
    PlaceControls();
    mdlSecondaryWindow::ShowIcon(*oUi->picIcon, windowIcon());
    connect(oUi->cmdOK, &QPushButton::clicked, this, &frmAbout::close);
    connect(oUi->cmdSysInfo, &QPushButton::clicked, this, &frmAbout::StartSysInfo);
}

frmAbout::~frmAbout() = default;

void frmAbout::Load() {
    using namespace mdlResources;
    oUi->cmdOK->setText(LoadResString(eRes::OK));
    oUi->cmdSysInfo->setText(LoadResString(eRes::SystemInfo));
    oUi->lblTitle->setText(Title());
    oUi->lblVersion->setText(
        LoadResString(eRes::Version) +
        QStringLiteral(" %1.%2.%3").arg(VersionMajor()).arg(VersionMinor()).arg(VersionRevision()));
    oUi->lblBuildDate->setText(LoadResString(eRes::BuildDate) + QLatin1Char(' ') + LongBuildDate());
    oUi->lblCopyright->setText(LoadResString(eRes::Copyright));
    QFont oSmall(QStringLiteral("Arial"), 7);
    oSmall.setStyleHint(QFont::SansSerif);
    oUi->lblDisclaimer->setFont(oSmall);
    oUi->lblDisclaimer->setText(LoadResString(eRes::Disclaimer));
}

void frmAbout::PlaceControls() {
    clsTwipsLayout oLayout(*this, QSize(5730, 3555));
    oLayout.Place(*oUi->picIcon, QRect(240, 240, 480, 480));
    oLayout.Place(*oUi->lblTitle, QRect(1050, 240, 3885, 240));
    oLayout.Place(*oUi->lblVersion, QRect(1050, 580, 3885, 225));
    oLayout.Place(*oUi->lblBuildDate, QRect(1050, 960, 3885, 225));
    oLayout.Place(*oUi->lblCopyright, QRect(1050, 1965, 3885, 210));
    oLayout.Place(*oUi->linShadow, QRect(90, 2325, 5564, 15));
    oLayout.Place(*oUi->linHighlight, QRect(120, 2340, 5549, 15));
    oLayout.Place(*oUi->lblDisclaimer, QRect(135, 2505, 4110, 945));
    oLayout.Place(*oUi->cmdOK, QRect(4320, 2520, 1260, 345));
    oLayout.Place(*oUi->cmdSysInfo, QRect(4320, 2955, 1245, 345));
    oLayout.Apply();
}

// A message box of the window's own: the window stays open behind it, and
// the box goes with it should the window be closed while the box is up.
void frmAbout::StartSysInfo() {
    if (oOpenSysInfo(*this)) {
        return;
    }
    auto* oBox =
        new QMessageBox(QMessageBox::NoIcon, mdlResources::Title(),
                        mdlResources::LoadResString(eRes::SystemInfoFailed), QMessageBox::Ok, this);
    oBox->setAttribute(Qt::WA_DeleteOnClose);
    oBox->exec();
}
