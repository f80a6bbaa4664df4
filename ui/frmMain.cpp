#include "ui/frmMain.h"

#include "core/mdlSteps.h"
#include "engine/clsApplication.h"
#include "engine/mdlComms.h"
#include "engine/mdlErrorTable.h"
#include "engine/mdlHelpLocation.h"
#include "platform/clsPortBindings.h"
#include "resources/mdlResources.h"
#include "ui/clsHelpKey.h"
#include "ui/clsHelpWindowViewer.h"
#include "ui/clsTwipsLayout.h"
#include "ui/clsUploadStatusBar.h"
#include "ui/frmAbout.h"
#include "ui/frmPortDevice.h"
#include "ui/frmPressMsg.h"
#include "ui/mdlErrorBox.h"
#include "ui/mdlFileFilter.h"
#include "ui/ui_frmMain.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QIcon>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>
#include <QWindow>

using mdlResources::LoadResString;
using mdlSteps::Ignoring;

frmMain::frmMain(QWidget* oParent)
    : QMainWindow(oParent), oUi(std::make_unique<Ui::frmMain>()),
      oHelpViewer(std::make_unique<clsHelpWindowViewer>()) {
    oUi->setupUi(this);
    // A window of fixed size: no maximise box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    oStatusLog = std::make_unique<clsStatusLog>(*oUi->txtStatus);
    mscCommPort = std::make_unique<clsSerialControl>(&mdlComms::DeviceOf);
    mscCommPort->setObjectName(QStringLiteral("mscCommPort"));
    tmrCommTimeout.setObjectName(QStringLiteral("tmrCommTimeout"));
    // A coarse timer may fire 5 % early: a board that answers after 1.9 s
    // would be taken for a silent one.
    tmrCommTimeout.setTimerType(Qt::PreciseTimer);
    tmrCommTimeout.setInterval(lReplyTimeoutMs);
    tmrCommTimeout.setSingleShot(true);
    BuildMenus();
    ConnectCommands();
    QCoreApplication::instance()->installEventFilter(
        new clsHelpKey([this](int iTopic) { ShowHelpTopic(iTopic); }, this));
}

frmMain::~frmMain() {
    if (pApp != nullptr) {
        pApp->HelpFile().SetViewer(nullptr);
    }
}

void frmMain::Attach(clsApplication& oNewApp) {
    pApp = &oNewApp;
    pApp->HelpFile().SetViewer(oHelpViewer.get());
    oRecentFiles = std::make_unique<clsRecentFileStore>(oNewApp);
    oSequence = std::make_unique<clsUploadSequence>(oNewApp);
    connect(oSequence.get(), &clsUploadSequence::Ended, this, &frmMain::OnUploadEnded);
    setStatusBar(new clsUploadStatusBar(oNewApp, *oSequence, this));
    oLedger = std::make_unique<clsUploadLedger>(oNewApp, *oSequence);
    connect(oLedger.get(), &clsUploadLedger::Unwritable, this, &frmMain::Status);
}

void frmMain::showEvent(QShowEvent* oEvent) {
    if (!bLoaded && pApp != nullptr) {
        bLoaded = true;
        Form_Load();
    }
    QMainWindow::showEvent(oEvent);
}

void frmMain::Form_Load() {
    mnuFile->setTitle(LoadResString(eRes::FileMenu));
    mnuFileOpen->setText(LoadResString(eRes::FileOpen));
    mnuFileExit->setText(LoadResString(eRes::FileExit));
    mnuHelp->setTitle(LoadResString(eRes::HelpMenu));
    mnuHelpTopics->setText(LoadResString(eRes::HelpTopics));
    mnuHelpAbout->setText(LoadResString(eRes::HelpAbout));
    oUi->lblCommPortNumber->setText(LoadResString(eRes::CommPortNumber));
    oUi->lblAppDataFile->setText(LoadResString(eRes::AppDataFile));
    oUi->cmdBrowse->setText(LoadResString(eRes::Browse));
    oUi->cmdRunStop->setText(LoadResString(eRes::Run));
    oUi->cmdReset->setText(LoadResString(eRes::Reset));
    oUi->cmdPortDevice->setText(QStringLiteral("De&vice..."));
    sHelpFile = mdlHelpLocation::HelpFilePath(QCoreApplication::applicationDirPath());
    setWindowTitle(mdlResources::WindowTitle());
    setWindowIcon(QIcon(mdlResources::IconPath(QStringLiteral("QUELLIS_ICON"))));
    FillPortSelector();
    // A number the selector has no entry for selects the first port.
    const qint16 iStored = pApp->CommSettings().Number();
    SetCommPort(iStored >= 0 && iStored <= clsPortBindings::iLastPort ? iStored : 1);
    ShowMRUMenu();
    Reset();
    ClearStatus();
    LayOut();
    adjustSize();
    const QRect oScreen = screen()->availableGeometry();
    const QMargins oFrame = FrameMargins();
    const QSize oWhole = size().grownBy(oFrame);
    // Centred; where the frame is wider than the screen, at its top left.
    const QPoint oCorner = oScreen.center() - QPoint(oWhole.width() / 2, oWhole.height() / 2);
    // Placed by its client area: where the frame is not known yet, a
    // position taken for the frame's would put the title bar above the screen.
    windowHandle()->setPosition(
        QPoint(std::max(oCorner.x(), oScreen.left()), std::max(oCorner.y(), oScreen.top())) +
        QPoint(oFrame.left(), oFrame.top()));
}

// Before the window is first mapped, some systems do not know its frame
// yet: room is kept for a title bar.
QMargins frmMain::FrameMargins() const {
    const QMargins oFrame = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
    return oFrame.isNull() ? QMargins(0, style()->pixelMetric(QStyle::PM_TitleBarHeight), 0, 0)
                           : oFrame;
}

void frmMain::BuildMenus() {
    mnuFile = menuBar()->addMenu(QString());
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFileOpen = mnuFile->addAction(QString());
    mnuFileOpen->setObjectName(QStringLiteral("mnuFileOpen"));
    mnuFileSep1 = mnuFile->addSeparator();
    mnuFileSep1->setObjectName(QStringLiteral("mnuFileSep1"));
    mnuFileSep1->setVisible(false);
    for (std::size_t i = 0; i < amnuFileMRU.size(); ++i) {
        QAction* oEntry = mnuFile->addAction(QString());
        oEntry->setObjectName(QStringLiteral("mnuFileMRU%1").arg(i));
        oEntry->setVisible(false);
        connect(oEntry, &QAction::triggered, this, [this, i] { mnuFileMRU_Click(int(i)); });
        amnuFileMRU.at(i) = oEntry;
    }
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuFileSep2"));
    mnuFileExit = mnuFile->addAction(QString());
    mnuFileExit->setObjectName(QStringLiteral("mnuFileExit"));
    mnuHelp = menuBar()->addMenu(QString());
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    mnuHelpTopics = mnuHelp->addAction(QString());
    mnuHelpTopics->setObjectName(QStringLiteral("mnuHelpTopics"));
    mnuHelp->addSeparator()->setObjectName(QStringLiteral("mnuHelpSep1"));
    mnuHelpAbout = mnuHelp->addAction(QString());
    mnuHelpAbout->setObjectName(QStringLiteral("mnuHelpAbout"));
}

void frmMain::ConnectCommands() {
    connect(mnuFileOpen, &QAction::triggered, this, &frmMain::mnuFileOpen_Click);
    connect(oUi->cmdBrowse, &QPushButton::clicked, this, &frmMain::mnuFileOpen_Click);
    connect(mnuFileExit, &QAction::triggered, this, &QWidget::close);
    connect(oUi->txtAppFilePath, &QLineEdit::returnPressed, this, &frmMain::txtAppFilePath_Enter);
    connect(oUi->cboPortNumber, &QComboBox::activated, this, &frmMain::cboPortNumber_Click);
    connect(oUi->cboPortNumber, &QComboBox::currentIndexChanged, this, &frmMain::ShowPortDevice);
    connect(oUi->cmdPortDevice, &QPushButton::clicked, this, &frmMain::cmdPortDevice_Click);
    connect(oUi->cmdRunStop, &QPushButton::clicked, this, &frmMain::cmdRunStop_Click);
    connect(oUi->cmdReset, &QPushButton::clicked, this, &frmMain::cmdReset_Click);
    connect(&tmrCommTimeout, &QTimer::timeout, this, &frmMain::tmrCommTimeout_Timer);
    connect(mnuHelpTopics, &QAction::triggered, this, &frmMain::mnuHelpTopics_Click);
    connect(mnuHelpAbout, &QAction::triggered, this, &frmMain::mnuHelpAbout_Click);
}

void frmMain::LayOut() {
    clsTwipsLayout oLayout(*oUi->centralWidget, QSize(8670, 5475));
    oLayout.Place(*oUi->lblCommPortNumber, QRect(240, 480, 1935, 255));
    oLayout.Place(*oUi->cboPortNumber, QRect(2400, 465, 800, 315));
    oLayout.Place(*oUi->lblPortDevice, QRect(3360, 465, 3615, 315));
    oLayout.Place(*oUi->cmdPortDevice, QRect(7080, 465, 1335, 300));
    oLayout.Place(*oUi->lblAppDataFile, QRect(240, 960, 1935, 255));
    oLayout.Place(*oUi->txtAppFilePath, QRect(2400, 960, 4575, 285));
    oLayout.Place(*oUi->cmdBrowse, QRect(7080, 960, 1335, 300));
    oLayout.Place(*oUi->Line1, QRect(240, 1425, 8160, 30));
    oLayout.Place(*oUi->txtStatus, QRect(210, 1800, 8175, 3015));
    oLayout.Place(*oUi->cmdReset, QRect(5760, 4920, 1215, 495));
    oLayout.Place(*oUi->cmdRunStop, QRect(7200, 4920, 1215, 495));
    oLayout.GiveRoomFrom(*oUi->txtStatus);
    // Above and below its client area the window holds its menu bar and
    // whatever bars it has, as laid out; around all, its frame.
    const QSize oAround(0,
                        layout()->totalSizeHint().height() - oUi->centralWidget->minimumHeight());
    oLayout.Apply(screen()->availableGeometry().size().shrunkBy(FrameMargins()) - oAround);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void frmMain::FillPortSelector() {
    for (qint16 iPort = 1; iPort <= clsPortBindings::iLastPort; ++iPort) {
        oUi->cboPortNumber->addItem(QString::number(iPort));
    }
}

void frmMain::Reset() {
    if (pApp == nullptr) {
        return;
    }
    // The port closed is the one shown, whatever the reset read from the store.
    TakeShownPort();
    Ignoring([this] { pApp->ClosePort(); });
    ResetWindow();
}

void frmMain::ResetWindow() {
    oUi->cmdRunStop->setText(LoadResString(eRes::Run));
    oUi->cmdRunStop->setEnabled(false);
    LockFileControls(false);
    SetMousePointer(vbDefault);
    bReadyToRun = true;
    UnloadPressMsg();
}

// The application object reads its port from the store at each of its
// resets, where another copy of the program may have put its own choice
// since: the port shown is the one to use. Nothing when none is shown.
void frmMain::TakeShownPort() {
    bool bNumber = false;
    const qint16 iPort = oUi->cboPortNumber->currentText().toShort(&bNumber);
    if (bNumber) {
        pApp->CommSettings().SetNumber(iPort);
    }
}

// While an upload runs, neither the file nor the port can change.
void frmMain::LockFileControls(bool bLocked) {
    oUi->cmdBrowse->setEnabled(!bLocked);
    oUi->txtAppFilePath->setReadOnly(bLocked);
    oUi->cboPortNumber->setEnabled(!bLocked);
    oUi->cmdPortDevice->setEnabled(!bLocked);
    bLocked ? DisableMRUItems() : EnableMRUItems();
    mnuFileOpen->setEnabled(!bLocked);
}

qint16 frmMain::CommPort() const {
    return qint16(oUi->cboPortNumber->currentIndex() + 1);
}

void frmMain::SetCommPort(qint16 iPort) {
    oUi->cboPortNumber->setCurrentIndex(iPort - 1);
}

QString frmMain::PathName() const {
    return oUi->txtAppFilePath->text();
}

void frmMain::SetPathName(const QString& sNewPath) {
    oUi->txtAppFilePath->clear();
    oUi->txtAppFilePath->setText(sNewPath);
}

void frmMain::Status(const QString& sStatusLine) {
    oStatusLog->AppendLine(sStatusLine);
}

void frmMain::ShowWaitDots() {
    oStatusLog->AppendWaitDots();
}

void frmMain::ClearStatus() {
    oStatusLog->Clear();
}

void frmMain::SetMousePointer(eMousePointer iPointer) {
    if (iPointer == vbDefault) {
        while (QGuiApplication::overrideCursor() != nullptr) {
            QGuiApplication::restoreOverrideCursor();
        }
        return;
    }
    const QCursor oCursor(iPointer == vbHourglass ? Qt::WaitCursor : Qt::BusyCursor);
    if (QGuiApplication::overrideCursor() != nullptr) {
        QGuiApplication::changeOverrideCursor(oCursor);
    } else {
        QGuiApplication::setOverrideCursor(oCursor);
    }
}

void frmMain::FilesOpened(const QString& /*sPath*/) {
    AddMRUFile(PathName());
    ShowMRUMenu();
}

void frmMain::EnableResetCommand() {
    oUi->cmdReset->setEnabled(true);
}

void frmMain::SetReplyTimer(bool bOn) {
    if (bOn) {
        tmrCommTimeout.start();
    } else {
        tmrCommTimeout.stop();
    }
}

void frmMain::ShowPressMsg() {
    if (oPressMsg.isNull()) {
        oPressMsg = new frmPressMsg(this);
    }
    oPressMsg->show();
}

void frmMain::UnloadPressMsg() {
    if (!oPressMsg.isNull()) {
        oPressMsg->close();
    }
}

bool frmMain::ConfirmOverwrite(const QString& sWarning) {
    QMessageBox oBox(QMessageBox::Warning, mdlResources::Title(), sWarning,
                     QMessageBox::Ok | QMessageBox::Cancel, this);
    oBox.setDefaultButton(QMessageBox::Ok);
    oWarningBox = &oBox;
    return oBox.exec() == QMessageBox::Ok;
}

void frmMain::closeEvent(QCloseEvent* oEvent) {
    // An upload cut short by the close ends as Stop ends it: the port shut
    // before a late reply can send the board more, and the upload kept in
    // the ledger.
    if (!bReadyToRun) {
        oSequence->Stop();
    }
    tmrCommTimeout.stop();
    UnloadPressMsg();
    if (!oAbout.isNull()) {
        oAbout->close();
    }
    oHelpViewer->Close(sHelpFile, qint32(winId()));
    oEvent->accept();
}

void frmMain::mnuFileOpen_Click() {
    oUi->cmdReset->setEnabled(false);
    QFileDialog dlgMain(this, LoadResString(eRes::OpenFile));
    dlgMain.setObjectName(QStringLiteral("dlgMain"));
    dlgMain.setFileMode(QFileDialog::ExistingFile);
    dlgMain.setOption(QFileDialog::HideNameFilterDetails);
    dlgMain.setNameFilters(mdlFileFilter::NameFilters(LoadResString(eRes::FileFilter)));
    if (dlgMain.exec() != QDialog::Accepted || dlgMain.selectedFiles().isEmpty()) {
        oUi->cmdRunStop->setEnabled(false);
        return;
    }
    CommitPath(QDir::toNativeSeparators(dlgMain.selectedFiles().constFirst()), false, false);
}

void frmMain::mnuFileMRU_Click(int iIndex) {
    oUi->cmdReset->setEnabled(false);
    CommitPath(amnuFileMRU.at(std::size_t(iIndex))->data().toString(), true, true);
}

// Enter commits the typed path; never while an upload holds the box, nor
// for an empty box.
void frmMain::txtAppFilePath_Enter() {
    if (oUi->txtAppFilePath->isReadOnly() || PathName().isEmpty()) {
        return;
    }
    if (CommitPath(PathName(), true, false)) {
        oUi->cmdReset->setEnabled(false);
    }
}

bool frmMain::CommitPath(const QString& sPath, bool bCheckLine, bool bTopic) {
    try {
        SetPathName(sPath);
        pApp->SetRecFileName(sPath);
        ClearStatus();
        oUi->cmdRunStop->setEnabled(true);
        return true;
    } catch (const clsError& oError) {
        oUi->cmdRunStop->setEnabled(false);
        const mdlErrorTable::Report oReport = mdlErrorTable::OfFileChoice(oError, bCheckLine);
        if (oReport.bForeseen) {
            oUi->txtAppFilePath->setFocus();
        }
        const bool bContents = oReport.bForeseen && !bTopic;
        ShowErrorBox(mdlErrorTable::BoxText(oError.Code(), oReport.asLines),
                     bContents ? mdlErrorTable::iContents : oReport.iTopic);
        return false;
    }
}

// Only a choice of the technician stores the settings.
void frmMain::cboPortNumber_Click() {
    pApp->CommSettings().SetNumber(CommPort());
    mdlComms::StoreCommSettings(pApp->Registry(), pApp->CommSettings());
}

void frmMain::ShowPortDevice() {
    const QString sDevice = mdlComms::DeviceOf(CommPort());
    if (sDevice.isEmpty()) {
        oUi->lblPortDevice->SetName(QStringLiteral("not bound to a device"), {});
    } else {
        oUi->lblPortDevice->SetName(sDevice, frmPortDevice::Note(sDevice));
    }
}

void frmMain::cmdPortDevice_Click() {
    if (frmPortDevice::Choose(this, CommPort())) {
        ShowPortDevice();
    }
}

void frmMain::cmdRunStop_Click() {
    if (bReadyToRun) {
        Run();
    } else {
        oSequence->Stop();
    }
}

// The upload is the file the path box shows: the box's text is committed
// first, as Enter would.
void frmMain::Run() {
    if (!CommitPath(PathName(), true, false)) {
        return;
    }
    oUi->cmdReset->setEnabled(false);
    oUi->cmdRunStop->setEnabled(false);
    LockFileControls(true);
    ClearStatus();
    TakeShownPort();
    // Another copy may have bound the port to another device since the
    // label was written; the upload goes to the device bound now.
    ShowPortDevice();
    if (const std::optional<clsError> oError = oSequence->Run(PathName())) {
        const mdlErrorTable::Report oReport = mdlErrorTable::OfRun(*oError);
        ShowErrorBox(mdlErrorTable::BoxText(oError->Code(), oReport.asLines), oReport.iTopic);
        EnableResetCommand();
        return;
    }
    oUi->cmdRunStop->setText(LoadResString(eRes::Stop));
    oUi->cmdRunStop->setEnabled(true);
    bReadyToRun = false;
}

void frmMain::OnUploadEnded(clsUploadSequence::eEnding /*iEnding*/, const QString& sBoxText,
                            int iHelpTopic) {
    // An upload ended while its warning was open (the line failed) leaves
    // nothing for the warning's answer to do.
    if (!oWarningBox.isNull()) {
        oWarningBox->reject();
    }
    if (sBoxText.isEmpty()) {
        return;
    }
    ShowErrorBox(sBoxText, iHelpTopic);
}

void frmMain::cmdReset_Click() {
    pApp->Reset();
    Reset();
    if (!PathName().isEmpty()) {
        CommitPath(PathName(), true, true);
    }
    oUi->cmdReset->setEnabled(false);
}

void frmMain::tmrCommTimeout_Timer() {
    oSequence->ReplyTimedOut();
}

void frmMain::mnuHelpTopics_Click() {
    try {
        pApp->HelpFile().SetRequestingWindow(qint32(winId()));
        pApp->HelpFile().ShowHelp();
    } catch (const clsError&) {
        QMessageBox::critical(this, mdlResources::Title(), LoadResString(eRes::HelpNotAvailable));
    }
}

void frmMain::mnuHelpAbout_Click() {
    if (oAbout.isNull()) {
        oAbout = new frmAbout(this);
    }
    oAbout->show();
    oAbout->raise();
    oAbout->activateWindow();
}

void frmMain::ShowErrorBox(const QString& sText, int iTopic) {
    mdlErrorBox::Show(this, sText, iTopic, [this](int iShownTopic) { ShowHelpTopic(iShownTopic); });
}

void frmMain::ShowHelpTopic(int iTopic) {
    if (!oHelpViewer->Show(sHelpFile, qint32(winId()), iTopic)) {
        QMessageBox::critical(this, mdlResources::Title(), LoadResString(eRes::HelpNotAvailable));
    }
}

void frmMain::SetMRUItemsEnabled(bool bEnabled) {
    for (QAction* oEntry : amnuFileMRU) {
        oEntry->setEnabled(bEnabled);
    }
}

// Entries are never hidden again: the stored list only grows or shifts.
void frmMain::ShowMRUMenu() {
    const QStringList asPaths = GetMRUList();
    for (qsizetype i = 0; i < asPaths.size() && i < qsizetype(amnuFileMRU.size()); ++i) {
        mnuFileSep1->setVisible(true);
        QAction* oEntry = amnuFileMRU.at(std::size_t(i));
        // The caption shows "&" as itself; the path stays in the data.
        oEntry->setText(QString(asPaths.at(i)).replace(QLatin1Char('&'), QStringLiteral("&&")));
        oEntry->setData(asPaths.at(i));
        oEntry->setVisible(true);
    }
}

QStringList frmMain::GetMRUList() {
    return oRecentFiles->List();
}

// A path already in the menu stays where it is.
void frmMain::AddMRUFile(const QString& sPath) {
    if (!IsInMRUMenu(sPath)) {
        oRecentFiles->Add(sPath);
    }
}

bool frmMain::IsInMRUMenu(const QString& sPath) const {
    return std::any_of(amnuFileMRU.cbegin(), amnuFileMRU.cend(),
                       [&](const QAction* oEntry) { return oEntry->data().toString() == sPath; });
}
