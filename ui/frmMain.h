#pragma once

#include "engine/clsEngineHost.h"
#include "engine/clsRecentFileStore.h"
#include "engine/clsUploadLedger.h"
#include "engine/clsUploadSequence.h"
#include "platform/clsSerialControl.h"
#include "ui/clsStatusLog.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <array>
#include <memory>

class QMessageBox;

namespace Ui {
class frmMain;
}
class QAction;
class QMenu;
class clsApplication;
class clsHelpWindowViewer;
class frmAbout;
class frmPressMsg;

// The main window: the face of the engine. It drives each upload through
// the upload's sequence and turns what comes back into status lines and
// error boxes.
class frmMain : public QMainWindow, public clsEngineHost {
    Q_OBJECT

public:
    explicit frmMain(QWidget* oParent = nullptr);
    ~frmMain() override;

    // The application object the commands work on; the window loads when
    // it is first shown, after this.
    void Attach(clsApplication& oNewApp);

    // The idle state: port closed, controls unlocked, Run disabled.
    void Reset();
    // The selected port number; 0 when none is selected.
    qint16 CommPort() const;
    void SetCommPort(qint16 iPort);
    QString PathName() const;
    void SetPathName(const QString& sNewPath);

    void Status(const QString& sStatusLine) override;
    void ShowWaitDots() override;
    void ClearStatus();

    void SetMousePointer(eMousePointer iPointer) override;
    clsSerialControl& SerialPort() override { return *mscCommPort; }
    void FilesOpened(const QString& sPath) override;
    void ResetWindow() override;
    void EnableResetCommand() override;
    void SetReplyTimer(bool bOn) override;
    void ShowPressMsg() override;
    void UnloadPressMsg() override;
    bool ConfirmOverwrite(const QString& sWarning) override;

protected:
    void showEvent(QShowEvent* oEvent) override;
    void closeEvent(QCloseEvent* oEvent) override;

private:
    void Form_Load();
    void BuildMenus();
    void LayOut();
    QMargins FrameMargins() const;
    void FillPortSelector();
    void ConnectCommands();

    void mnuFileOpen_Click();
    void mnuFileMRU_Click(int iIndex);
    void txtAppFilePath_Enter();
    void cboPortNumber_Click();
    void cmdPortDevice_Click();
    void cmdRunStop_Click();
    void cmdReset_Click();
    void tmrCommTimeout_Timer();
    void mnuHelpTopics_Click();
    void mnuHelpAbout_Click();

    void Run();
    void TakeShownPort();
    void LockFileControls(bool bLocked);
    // Makes sPath the application file; false, with the box shown, when no
    // command file name can be formed from it. The box's Help opens its
    // topic when bTopic, the help's contents otherwise.
    bool CommitPath(const QString& sPath, bool bCheckLine, bool bTopic);
    void OnUploadEnded(clsUploadSequence::eEnding iEnding, const QString& sBoxText, int iHelpTopic);
    void ShowErrorBox(const QString& sText, int iTopic);
    void ShowHelpTopic(int iTopic);
    void ShowPortDevice();

    void EnableMRUItems() { SetMRUItemsEnabled(true); }
    void DisableMRUItems() { SetMRUItemsEnabled(false); }
    void SetMRUItemsEnabled(bool bEnabled);
    void ShowMRUMenu();
    QStringList GetMRUList();
    void AddMRUFile(const QString& sPath);
    bool IsInMRUMenu(const QString& sPath) const;

    std::unique_ptr<Ui::frmMain> oUi;
    std::unique_ptr<clsStatusLog> oStatusLog;
    std::unique_ptr<clsSerialControl> mscCommPort;
    QTimer tmrCommTimeout;
    clsApplication* pApp = nullptr;
    std::unique_ptr<clsUploadSequence> oSequence;
    std::unique_ptr<clsUploadLedger> oLedger;
    std::unique_ptr<clsRecentFileStore> oRecentFiles;
    std::unique_ptr<clsHelpWindowViewer> oHelpViewer;
    QPointer<frmPressMsg> oPressMsg;
    QPointer<frmAbout> oAbout;
    // The overwrite warning while it waits for its answer.
    QPointer<QMessageBox> oWarningBox;

    QMenu* mnuFile = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileSep1 = nullptr;
    std::array<QAction*, 4> amnuFileMRU{};
    QAction* mnuFileExit = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpTopics = nullptr;
    QAction* mnuHelpAbout = nullptr;

    bool bLoaded = false;
    bool bReadyToRun = true;
    QString sHelpFile;
};
