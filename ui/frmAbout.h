#pragma once

#include "ui/mdlSysInfo.h"

#include <QDialog>

#include <functional>
#include <memory>

namespace Ui {
class frmAbout;
}

// Who the program is: title, version, build date, copyright and legal
// warning, and a way to the system's information tool. Modeless, and gone
// with every close.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    // Opens what the system tells of itself beside the About window; false
    // when nothing opened.
    using SysInfoOpener = std::function<bool(QWidget& oAbout)>;

    explicit frmAbout(QWidget* oParent = nullptr,
                      SysInfoOpener oNewOpenSysInfo = &mdlSysInfo::Open);
    ~frmAbout() override;

private:
    void Load();
    void PlaceControls();
    void StartSysInfo();

    std::unique_ptr<Ui::frmAbout> oUi;
    SysInfoOpener oOpenSysInfo;
};
