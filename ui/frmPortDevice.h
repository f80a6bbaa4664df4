#pragma once

#include "platform/clsPortBindings.h"

#include <QDialog>

#include <memory>

namespace Ui {
class frmPortDevice;
}

// Where ports have no numbers of their own: lets the technician see and
// choose the device a port number stands for.
class frmPortDevice : public QDialog {
    Q_OBJECT

public:
    // sByIdFolder: where the devices' stable names are looked for.
    explicit frmPortDevice(qint16 iNewPort, QWidget* oParent = nullptr,
                           const QString& sByIdFolder = clsPortBindings::ByIdFolder());
    ~frmPortDevice() override;

    // Lets the technician bind port iPort to a device; true when the binding changed.
    static bool Choose(QWidget* oParent, qint16 iPort);
    // What the system tells of sDevice, or that it is not present.
    static QString Note(const QString& sDevice);

private:
    void FillDevices(const QString& sByIdFolder);
    // Lists sDevice with the number it stands for and whether it is there.
    void AddDevice(const QString& sDevice);
    void lstDevices_SelectionChanged();
    void cmdOK_Click();
    void cmdUnbind_Click();
    // Stores the bindings and closes, or says why it could not.
    void StoreAndClose();
    void Warn(const QString& sText);

    std::unique_ptr<Ui::frmPortDevice> oUi;
    qint16 iPort;
    clsPortBindings oBindings;
};
