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
    // The information tool's full path, or an empty text when there is none.
    using ToolFinder = std::function<QString()>;
    // Starts a program without waiting for it; false when it did not start.
    using ProgramStarter = std::function<bool(const QString& sPath)>;

    explicit frmAbout(QWidget* oParent = nullptr, ToolFinder oNewFindTool = &mdlSysInfo::ToolPath,
                      ProgramStarter oNewStart = &mdlSysInfo::Start);
    ~frmAbout() override;

private:
    void Load();
    void PlaceControls();
    void StartSysInfo();

    std::unique_ptr<Ui::frmAbout> oUi;
    ToolFinder oFindTool;
    ProgramStarter oStart;
};
