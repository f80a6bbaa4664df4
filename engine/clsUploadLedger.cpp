#include "engine/clsUploadLedger.h"

#include "engine/clsApplication.h"
#include "platform/clsSerialControl.h"
#include "platform/mdlAppendOnly.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSysInfo>

#include <pwd.h>
#include <unistd.h>

namespace {

QString UserName() {
    if (const passwd* pUser = ::getpwuid(::geteuid())) {
        return QString::fromLocal8Bit(pUser->pw_name);
    }
    return qEnvironmentVariable("USER");
}

} // namespace

clsUploadLedger::clsUploadLedger(clsApplication& oNewApp, clsUploadSequence& oSequence)
    : oApp(oNewApp) {
    connect(&oSequence, &clsUploadSequence::Started, this, &clsUploadLedger::OnStarted);
    connect(&oSequence, &clsUploadSequence::FilesOpened, this, &clsUploadLedger::OnFilesOpened);
    connect(&oSequence, &clsUploadSequence::PreparedUsed, this, &clsUploadLedger::OnPreparedUsed);
    connect(&oSequence, &clsUploadSequence::Finished, this, &clsUploadLedger::OnFinished);
}

QString clsUploadLedger::Sha256(const QString& sPath) {
    QFile oFile(sPath);
    QCryptographicHash oHash(QCryptographicHash::Sha256);
    if (!QFileInfo(sPath).isFile() || !oFile.open(QIODevice::ReadOnly) || !oHash.addData(&oFile)) {
        return {};
    }
    return QString::fromLatin1(oHash.result().toHex());
}

QString clsUploadLedger::FilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Quellis/Tessivar/uploads.jsonl");
}

void clsUploadLedger::OnStarted(const QString& sPath) {
    oEntry.emplace();
    oEntry->oStart = QDateTime::currentDateTime();
    oEntry->sHost = QSysInfo::machineHostName();
    oEntry->sUser = UserName();
    oEntry->iPort = oApp.CommSettings().Number();
    oEntry->sDevice = oApp.Host().SerialPort().DeviceFor(oEntry->iPort);
    oEntry->sFile = QFileInfo(sPath).absoluteFilePath();
}

void clsUploadLedger::OnFilesOpened() {
    oEntry->sFileSha256 = Sha256(oEntry->sFile);
    oEntry->lFileSize = QFileInfo(oEntry->sFile).size();
    oEntry->sCommandFileSha256 = Sha256(oApp.RecFileName());
    oLastOpened = oEntry;
}

void clsUploadLedger::OnPreparedUsed() {
    if (oLastOpened && oLastOpened->sFile == oEntry->sFile) {
        oEntry->sFileSha256 = oLastOpened->sFileSha256;
        oEntry->lFileSize = oLastOpened->lFileSize;
        oEntry->sCommandFileSha256 = oLastOpened->sCommandFileSha256;
    }
}

void clsUploadLedger::OnFinished(const clsUploadSequence::Outcome& oOutcome) {
    // A Stop after the upload already ended adds nothing.
    if (!oEntry) {
        return;
    }
    oEntry->oEnd = QDateTime::currentDateTime();
    oEntry->oOutcome = oOutcome;
    const QString sFailure = mdlAppendOnly::AppendLine(FilePath(), oEntry->Line());
    oEntry.reset();
    if (!sFailure.isEmpty() && !bToldUnwritable) {
        bToldUnwritable = true;
        emit Unwritable(
            QStringLiteral("The upload ledger %1 could not be written (%2); uploads go on "
                           "without it.")
                .arg(FilePath(), sFailure));
    }
}
