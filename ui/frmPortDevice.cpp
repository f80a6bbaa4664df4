#include "ui/frmPortDevice.h"

#include "engine/mdlComms.h"
#include "platform/clsSettingsKey.h"
#include "resources/mdlResources.h"
#include "ui_frmPortDevice.h"

#include <QIcon>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>

namespace {

// Characters of a USB adapter's stable name, its folder included.
constexpr int iStableNameLength = 72;

} // namespace

frmPortDevice::frmPortDevice(qint16 iNewPort, QWidget* oParent, const QString& sByIdFolder)
    : QDialog(oParent), oUi(std::make_unique<Ui::frmPortDevice>()), iPort(iNewPort),
      oBindings(mdlComms::CommsKeyPath()) {
    oUi->setupUi(this);
    setWindowTitle(mdlResources::WindowTitle());
    setWindowIcon(QIcon(mdlResources::IconPath(QStringLiteral("QUELLIS_ICON"))));
    oUi->lblPort->setText(QStringLiteral("Port %1 stands for:").arg(iPort));
    oUi->txtDevicePath->setPlaceholderText(clsPortBindings::NameForm());
    QPushButton* cmdUnbind =
        oUi->cmdButtons->addButton(QStringLiteral("&Unbind"), QDialogButtonBox::ResetRole);
    cmdUnbind->setObjectName(QStringLiteral("cmdUnbind"));
    oUi->cmdButtons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdOK"));
    connect(cmdUnbind, &QPushButton::clicked, this, &frmPortDevice::cmdUnbind_Click);
    connect(oUi->cmdButtons, &QDialogButtonBox::accepted, this, &frmPortDevice::cmdOK_Click);
    connect(oUi->cmdButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(oUi->lstDevices, &QListWidget::itemSelectionChanged, this,
            &frmPortDevice::lstDevices_SelectionChanged);
    connect(oUi->lstDevices, &QListWidget::itemDoubleClicked, this, &frmPortDevice::cmdOK_Click);
    oBindings.Load();
    FillDevices(sByIdFolder);
}

frmPortDevice::~frmPortDevice() = default;

bool frmPortDevice::Choose(QWidget* oParent, qint16 iPort) {
    const QString sBefore = mdlComms::DeviceOf(iPort);
    auto* oDialog = new frmPortDevice(iPort, oParent);
    oDialog->setAttribute(Qt::WA_DeleteOnClose);
    oDialog->exec();
    return mdlComms::DeviceOf(iPort) != sBefore;
}

QString frmPortDevice::Note(const QString& sDevice) {
    return clsPortBindings::IsPresent(sDevice) ? clsPortBindings::Description(sDevice)
                                               : QStringLiteral("(not present)");
}

void frmPortDevice::FillDevices(const QString& sByIdFolder) {
    const QStringList asFound = clsPortBindings::FoundDevices(sByIdFolder);
    for (const QString& sDevice : asFound) {
        AddDevice(sDevice);
    }
    const QString sCurrent = oBindings.Device(iPort);
    if (!sCurrent.isEmpty() && !asFound.contains(sCurrent)) {
        AddDevice(sCurrent);
    }
    // Stable names are long, and their end is what tells adapters apart;
    // a path typed longer than the screen must not push the buttons off it.
    QListWidget& oList = *oUi->lstDevices;
    const int iListed = oList.sizeHintForColumn(0) + 2 * oList.frameWidth() +
                        oList.verticalScrollBar()->sizeHint().width();
    oList.setMinimumWidth(
        std::min(std::max(iListed, fontMetrics().averageCharWidth() * iStableNameLength),
                 screen()->availableGeometry().width() * 3 / 4));
    // Typing goes to the path; the list, focused, would make its first
    // device current, and Enter would bind a device nobody chose.
    oUi->txtDevicePath->setFocus();
}

void frmPortDevice::AddDevice(const QString& sDevice) {
    QString sText = sDevice;
    if (const QString sNote = Note(sDevice); !sNote.isEmpty()) {
        sText += QStringLiteral("  ") + sNote;
    }
    if (const qint16 iBoundTo = oBindings.PortOf(sDevice); iBoundTo != 0) {
        sText += QStringLiteral("  (port %1)").arg(iBoundTo);
    }
    auto* oItem = new QListWidgetItem(sText, oUi->lstDevices);
    oItem->setData(Qt::UserRole, sDevice);
    if (sDevice == oBindings.Device(iPort)) {
        oUi->lstDevices->setCurrentItem(oItem);
    }
}

// Only a device the technician selected, not the one the list makes
// current as it takes the focus.
void frmPortDevice::lstDevices_SelectionChanged() {
    const QList<QListWidgetItem*> aSelected = oUi->lstDevices->selectedItems();
    if (!aSelected.isEmpty()) {
        oUi->txtDevicePath->setText(aSelected.constFirst()->data(Qt::UserRole).toString());
    }
}

void frmPortDevice::cmdOK_Click() {
    const QString sDevice = oUi->txtDevicePath->text().trimmed();
    if (sDevice.isEmpty()) {
        Warn(QStringLiteral("Choose a device from the list or type its path. To let port %1 "
                            "stand for no device, choose Unbind.")
                 .arg(iPort));
    } else if (!oBindings.Bind(iPort, sDevice)) {
        Warn(QStringLiteral("\"%1\" names no device. Type %2.")
                 .arg(sDevice, clsPortBindings::NameForm()));
    } else {
        StoreAndClose();
    }
}

void frmPortDevice::cmdUnbind_Click() {
    oBindings.Unbind(iPort);
    StoreAndClose();
}

void frmPortDevice::StoreAndClose() {
    if (!oBindings.Store()) {
        Warn(QStringLiteral("The choice could not be saved: %1 could not be written.")
                 .arg(clsSettingsKey::StoreName()));
        return;
    }
    accept();
}

void frmPortDevice::Warn(const QString& sText) {
    QMessageBox::warning(this, windowTitle(), sText);
}
