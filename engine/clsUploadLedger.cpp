#include "engine/clsUploadLedger.h"

#include "engine/clsApplication.h"
#include "platform/clsFileLock.h"
#include "platform/clsSerialControl.h"
#include "platform/mdlAccount.h"
#include "platform/mdlDataPaths.h"
#include "platform/mdlDurableFile.h"

#include <QFileInfo>
#include <QSysInfo>

namespace {

// Another program holds the ledger for the moment of a write; one stopped
// while it held it (Ctrl+Z) must not hold the end of every upload.
constexpr int lLockWaitMs = 1000;

// Adds aEntry to the ledger sPath, whole or not at all; why it is not
// there, empty when it is.
QString AddEntry(const QString& sPath, const QByteArray& aEntry) {
    clsFileLock oLock(sPath);
    if (!oLock.Lock(lLockWaitMs)) {
        return oLock.ErrorString();
    }
    QString sWhy;
    mdlDurableFile::Append(sPath, aEntry, sWhy);
    return sWhy;
}

} // namespace

clsUploadLedger::clsUploadLedger(clsApplication& oNewApp, clsUploadSequence& oSequence)
    : oApp(oNewApp) {
    connect(&oSequence, &clsUploadSequence::Started, this, &clsUploadLedger::OnStarted);
    connect(&oSequence, &clsUploadSequence::FilesOpened, this, &clsUploadLedger::OnFilesOpened);
    connect(&oSequence, &clsUploadSequence::FilesRead, this, &clsUploadLedger::OnFilesRead);
    connect(&oSequence, &clsUploadSequence::PreparedUsed, this, &clsUploadLedger::OnPreparedUsed);
    connect(&oSequence, &clsUploadSequence::Finished, this, &clsUploadLedger::OnFinished);
}

void clsUploadLedger::OnStarted(const QString& sPath) {
    oEntry.emplace();
    oEntry->oStart = QDateTime::currentDateTime();
    oEntry->sHost = QSysInfo::machineHostName();
    oEntry->sUser = mdlAccount::UserName();
    const clsSerialControl& oPort = oApp.Host().SerialPort();
    const qint16 iNumber = oApp.CommSettings().Number();
    // The number a device named alone goes by inside would pass for a port.
    oEntry->iPort = oPort.NamedByDevice() ? 0 : iNumber;
    oEntry->sDevice = oPort.DeviceFor(iNumber);
    oEntry->oFiles.sFile = QFileInfo(sPath).absoluteFilePath();
}

void clsUploadLedger::OnFilesOpened() {
    oEntry->oFiles = clsOpenedFiles::Of(oEntry->oFiles.sFile, oApp.RecFileName());
    oLastOpened = oEntry->oFiles;
}

// A file written anew between the look above and the read: the image was
// made of what was read.
void clsUploadLedger::OnFilesRead() {
    oEntry->oFiles = oApp.FilesAsRead();
    oLastOpened = oEntry->oFiles;
}

void clsUploadLedger::OnPreparedUsed() {
    if (oLastOpened && oLastOpened->sFile == oEntry->oFiles.sFile) {
        oEntry->oFiles = *oLastOpened;
    }
}

void clsUploadLedger::OnFinished(const clsUploadSequence::Outcome& oOutcome) {
    // A Stop after the upload already ended adds nothing.
    if (!oEntry) {
        return;
    }
    oEntry->oEnd = QDateTime::currentDateTime();
    oEntry->oOutcome = oOutcome;
    const QString sFailure = AddEntry(mdlDataPaths::LedgerFile(), oEntry->Line());
    oEntry.reset();
    if (!sFailure.isEmpty() && !bToldUnwritable) {
        bToldUnwritable = true;
        emit Unwritable(
            QStringLiteral("The upload ledger %1 could not be written (%2): this upload's "
                           "entry is not in it, and uploads go on without it.")
                .arg(mdlDataPaths::LedgerFile(), sFailure));
    }
}
