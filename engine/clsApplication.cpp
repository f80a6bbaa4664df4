#include "engine/clsApplication.h"

#include "core/mdlOrdinaryFile.h"
#include "engine/mdlComms.h"
#include "engine/mdlEngineErrors.h"
#include "engine/mdlHelpLocation.h"
#include "engine/mdlTextUtil.h"
#include "engine/mdlUploadRules.h"
#include "platform/clsSerialControl.h"
#include "records/clsBoardTarget.h"
#include "records/clsJRT_SRecord.h"
#include "resources/mdlResources.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <limits>

clsApplication::clsApplication(clsEngineHost& oNewHost)
    : oHost(oNewHost), sRegRoot(mdlResources::SettingsKeyPath()),
      oHelpFile(std::make_unique<clsJRT_HelpFile>()) {
    try {
        oHelpFile->SetFilename(
            mdlHelpLocation::HelpFilePath(QCoreApplication::applicationDirPath()));
    } catch (const clsError&) {
        // A missing help file only leaves help unavailable.
    }
    // Start-up resets again at once; this only spares every member a check
    // for objects that do not exist yet.
    Reset();
}

// Nothing is stored here: the program ends without tearing the object down,
// and the window stores the line settings when the port choice changes.
clsApplication::~clsApplication() = default;

void clsApplication::Reset() {
    aiSectors = {0};
    iSectorCount = 0;
    yTargetID = 0;
    yFillValue = 0;
    lRecordCount = 0;
    lResendCount = 0;
    bIncrementID = false;

    // The old objects go first, so that their open files are closed before
    // the new ones exist.
    oAppFile.reset();
    oCmdFile.reset();
    oFlashImage.reset();
    oRegistry.reset();
    oCommSettings.reset();
    oAppFile = std::make_unique<clsFile>();
    oCmdFile = std::make_unique<clsFile>();
    oFlashImage = std::make_unique<clsFlashImage>();
    oRegistry = std::make_unique<clsJRT_Registry>();
    oCommSettings = std::make_unique<clsCommPort>();
    mdlComms::RestoreCommSettings(*oRegistry, *oCommSettings);

    lAppState = Idle;
    ++lResets;
}

// "/" ends a folder on every platform, the native separator too.
QString clsApplication::CommandFileName(const QString& sPath) {
    const QChar aSeparators[] = {u'/', QDir::separator()};
    return CommandFileName(sPath, QStringView(aSeparators, 2));
}

QString clsApplication::CommandFileName(const QString& sPath, QStringView sSeparators) {
    qsizetype lNameStart = sPath.size();
    while (lNameStart > 0 && !sSeparators.contains(sPath.at(lNameStart - 1))) {
        --lNameStart;
    }
    const qsizetype lDot = sPath.indexOf(QLatin1Char('.'), lNameStart);
    if (lDot <= lNameStart) {
        return {};
    }
    return sPath.left(lDot) + QStringLiteral(".cmd");
}

void clsApplication::SetRecFileName(const QString& sNewPath) {
    oAppFile->SetPathName(sNewPath);
    if (mdlOrdinaryFile::NameTooLong(sNewPath)) {
        throw mdlEngineErrors::Make(mdlEngineErrors::NoCommandFileName)
            .InFile(sNewPath, QStringLiteral("the name is too long"));
    }
    const QString sCommandFile = CommandFileName(sNewPath);
    if (sCommandFile.isEmpty()) {
        // A folder's name has no dot as a rule: that it is a folder is
        // what the technician needs to hear.
        const QString sNotOrdinary = mdlOrdinaryFile::NotOrdinary(sNewPath);
        throw mdlEngineErrors::Make(mdlEngineErrors::NoCommandFileName)
            .InFile(sNewPath, sNotOrdinary.isEmpty()
                                  ? QStringLiteral("the file's name has no dot, or begins with one")
                                  : sNotOrdinary);
    }
    oCmdFile->SetPathName(sCommandFile);
}

QString clsApplication::RecFileName() const {
    return oCmdFile->PathName();
}

void clsApplication::OpenFiles() {
    using mdlResources::LoadResString;
    oAppFile->CloseFile();
    oCmdFile->CloseFile();
    if (oAppFile->OpenInputRead() == 0) {
        throw mdlEngineErrors::Make(mdlEngineErrors::OpenAppFileFailed)
            .InFile(oAppFile->PathName(), oAppFile->OpenFailure());
    }
    oHost.Status(LoadResString(eRes::AppFileOpened));
    if (oCmdFile->OpenInputRead() == 0) {
        oAppFile->CloseFile();
        oHost.Status(LoadResString(eRes::AppFileClosed));
        throw mdlEngineErrors::Make(mdlEngineErrors::OpenCmdFileFailed)
            .InFile(oCmdFile->PathName(), oCmdFile->OpenFailure());
    }
    oHost.Status(LoadResString(eRes::CmdFileOpened));
}

void clsApplication::GetTargetID() {
    QString sWhy = QStringLiteral("is not a hexadecimal target id");
    try {
        const auto yID = mdlTextUtil::HexToByte(oCmdFile->LineInput());
        if (yID) {
            yTargetID = *yID;
            bIncrementID = clsBoardTarget::For(yTargetID).bIncrementID;
            oHost.Status(mdlResources::LoadResString(eRes::TargetID) + QLatin1Char(' ') +
                         QString::number(yTargetID));
            return;
        }
    } catch (const clsError& oError) {
        // A first line that is missing or cannot be read is reported as one
        // that holds no target id.
        sWhy = mdlEngineErrors::IsReadFailure(oError) ? mdlEngineErrors::ReadFailure(oError)
                                                      : QStringLiteral("is missing");
    }
    yTargetID = 0;
    throw mdlEngineErrors::Make(mdlEngineErrors::NoTargetID)
        .AtLine(1)
        .InFile(oCmdFile->PathName(), sWhy);
}

void clsApplication::InitMemoryImage() {
    constexpr qint32 lFillLine = 2;
    iSectorCount = 0;
    oHost.SetMousePointer(clsEngineHost::vbHourglass);
    oHost.Status(QStringLiteral("Initializing memory image"));

    qint32 lLine = lFillLine;
    try {
        // A missing fill line is as unreadable as a blank one.
        const QString sFillLine = oCmdFile->EndOfFile() ? QString() : oCmdFile->LineInput();
        const auto yFill = mdlTextUtil::HexToByte(sFillLine);
        if (!yFill) {
            throw mdlEngineErrors::QuotedCommandFileLine(
                lFillLine, QStringLiteral("is not a hexadecimal fill value"), sFillLine);
        }
        yFillValue = *yFill;
        lLine = 1; // the target's line
        if (oFlashImage->Create(yTargetID) < 1) {
            throw mdlEngineErrors::Make(mdlEngineErrors::NoFlashImage);
        }
        for (lLine = lFillLine + 1; !oCmdFile->EndOfFile(); ++lLine) {
            const QString sLine = oCmdFile->LineInput();
            if (!mdlTextUtil::Trim(sLine).isEmpty()) {
                ReadRegionLine(lLine, sLine);
            }
        }
    } catch (const clsError& oError) {
        throw InCommandFile(oError, lLine);
    }

    oFlashImage->Clear(yFillValue);
    oHost.SetMousePointer(clsEngineHost::vbDefault);
    oHost.Status(mdlResources::LoadResString(eRes::ImageInitialized));
}

void clsApplication::ReadRegionLine(qint32 lLine, const QString& sLine) {
    const QStringList asFields = mdlTextUtil::SplitText(sLine, QStringLiteral(","), true);
    const auto oFail = [&](const QString& sProblem) {
        return mdlEngineErrors::QuotedCommandFileLine(lLine, sProblem, sLine);
    };
    // Fields are read in order, each where it is first needed: a line that
    // lacks only its kind fails after its dot.
    const auto oField = [&](qsizetype lIndex) -> const QString& {
        if (lIndex >= asFields.size()) {
            throw oFail(QStringLiteral("has fewer than four fields"));
        }
        return asFields.at(lIndex);
    };
    const auto oAddress = [&](qsizetype lIndex) {
        const auto lAddress = mdlTextUtil::HexToLong(oField(lIndex));
        if (!lAddress) {
            throw oFail(QStringLiteral("has an address that is not a 32-bit hexadecimal number"));
        }
        return *lAddress;
    };
    const auto iSector = mdlTextUtil::TextToInteger(oField(0));
    if (!iSector) {
        throw oFail(QStringLiteral("has a sector number that is not a 16-bit decimal integer"));
    }
    const qint32 lStart = oAddress(1);
    const qint32 lEnd = oAddress(2);
    oHost.ShowWaitDots();
    if (oField(3).toUpper() == QLatin1String("R")) {
        oFlashImage->Restrict(lStart, lEnd);
        return;
    }
    // The erase command carries the sector in one byte: a sector it cannot
    // name would stop the upload after the sectors before it were erased.
    if (*iSector < 0 || *iSector > 255) {
        throw oFail(
            QStringLiteral("erases sector %1, which is not a sector from 0 to 255").arg(*iSector));
    }
    oFlashImage->UnRestrict(lStart, lEnd);
    if (iSectorCount == std::numeric_limits<qint16>::max()) {
        throw oFail(QStringLiteral("is one sector more than can be counted"));
    }
    if (aiSectors.size() < iSectorCount + 2) {
        aiSectors.resize(iSectorCount + 2);
    }
    aiSectors[iSectorCount] = *iSector;
    ++iSectorCount;
}

clsError clsApplication::InCommandFile(const clsError& oError, qint32 lLine) const {
    return AtLineOf(oError, lLine, *oCmdFile, &mdlEngineErrors::CommandFileLine);
}

clsError clsApplication::InApplicationFile(const clsError& oError, qint32 lLine) const {
    return AtLineOf(oError, lLine, *oAppFile, &mdlEngineErrors::RecordFileLine);
}

clsError clsApplication::AtLineOf(const clsError& oError, qint32 lLine, const clsFile& oFile,
                                  LineError oUnreadable) {
    clsError oPlaced = mdlEngineErrors::IsReadFailure(oError)
                           ? oUnreadable(lLine, mdlEngineErrors::ReadFailure(oError))
                           : oError;
    return oPlaced.AtLine(lLine).InFile(oFile.PathName());
}

void clsApplication::PrepareUpload(const QString& sRecFile) {
    OpenUploadFiles(sRecFile);
    PrepareImage();
}

void clsApplication::OpenUploadFiles(const QString& sRecFile) {
    SetRecFileName(sRecFile);
    OpenFiles();
    oHost.FilesOpened(sRecFile);
}

void clsApplication::PrepareImage() {
    GetTargetID();
    InitMemoryImage();
    BuildImage();
    CheckSerialNumber();
}

void clsApplication::NumberBoards(clsSerialNumbering& oNumbers) {
    oSerialField = oNumbers.Field();
    pSerialNumbers = &oNumbers;
}

std::optional<clsSerialNumbering::Use> clsApplication::SettleSerialNumber(bool bUsed) {
    return pSerialNumbers ? pSerialNumbers->Settle(bUsed) : std::nullopt;
}

void clsApplication::CheckSerialNumber() {
    if (oSerialField) {
        oSerialField->Check(*oFlashImage);
    }
    if (pSerialNumbers) {
        const qint64 lNext = pSerialNumbers->Prepare();
        oHost.Status(QStringLiteral("Serial numbers from %1; the next board gets %2")
                         .arg(pSerialNumbers->StorePath())
                         .arg(lNext));
    }
}

void clsApplication::StampSerialNumber() {
    if (pSerialNumbers) {
        const qint64 lNumber = pSerialNumbers->StampBoard(*oFlashImage);
        oHost.Status(
            QStringLiteral("Serial number %1 at %2").arg(lNumber).arg(oSerialField->Range()));
    }
}

clsOpenedFiles clsApplication::FilesAsRead() {
    const auto oSha256 = [](clsFile& oFile) {
        clsOpenFile* oOpen = oFile.Opened();
        return oOpen ? QString::fromLatin1(oOpen->ReadSha256().toHex()) : QString();
    };
    const clsOpenFile* oApplication = oAppFile->Opened();
    return {QFileInfo(oAppFile->PathName()).absoluteFilePath(),
            oApplication ? oApplication->BytesRead() : 0, oSha256(*oAppFile), oSha256(*oCmdFile)};
}

clsPreparedUpload clsApplication::Prepared() const {
    return {oAppFile->PathName(), yTargetID, yFillValue, Sectors(), *oFlashImage};
}

void clsApplication::UsePrepared(const clsPreparedUpload& oPrepared) {
    SetRecFileName(oPrepared.sRecFile);
    yTargetID = oPrepared.yTargetID;
    bIncrementID = clsBoardTarget::For(yTargetID).bIncrementID;
    yFillValue = oPrepared.yFillValue;
    aiSectors = oPrepared.aiSectors;
    iSectorCount = qint16(aiSectors.size());
    *oFlashImage = oPrepared.oImage;
}

void clsApplication::BuildImage() {
    constexpr qint32 lLinesPerDot = 100;
    oHost.SetMousePointer(clsEngineHost::vbHourglass);
    oHost.Status(mdlResources::LoadResString(eRes::ReadingRecords));
    qint32 lLine = 1;
    try {
        clsJRT_SRecord oRecord;
        for (; !oAppFile->EndOfFile(); ++lLine) {
            oRecord.SetRecord(oAppFile->LineInput());
            oFlashImage->Import(oRecord);
            oRecord.Reset();
            if (lLine % lLinesPerDot == 0) {
                oHost.ShowWaitDots();
            }
        }
    } catch (const clsError& oError) {
        oHost.SetMousePointer(clsEngineHost::vbDefault);
        throw InApplicationFile(oError, lLine);
    }
    oHost.SetMousePointer(clsEngineHost::vbDefault);
    oHost.Status(mdlResources::LoadResString(eRes::ImageCreated));
}

void clsApplication::BeginWaitForTarget() {
    lRecordCount = 0;
    lResendCount = 0;
    lAppState = WaitTarget;
}

void clsApplication::CommEventHandler(qint32 lEvent) {
    if (lEvent != clsSerialControl::comEvReceive) {
        return;
    }
    oHost.SetReplyTimer(false);
    if (lAppState == WaitTarget) {
        const std::optional<bool> bMatches = TargetIDMatches();
        if (!bMatches) {
            return;
        }
        if (!*bMatches) {
            throw mdlEngineErrors::Make(mdlEngineErrors::WrongTarget);
        }
        AcknowledgeTarget();
        oHost.UnloadPressMsg();
        oHost.Status(mdlResources::LoadResString(eRes::TargetReady));
        RunUpload();
        return;
    }
    if (lAppState != Erasing && lAppState != Uploading) {
        return;
    }
    const QString sReply = oHost.SerialPort().Input().toString();
    if (sReply == QLatin1String(mdlUploadRules::sResendReply)) {
        ++lResendCount;
        ResendRecord();
    } else if (sReply == QLatin1String(mdlUploadRules::sAcknowledgeReply)) {
        lAppState == Erasing ? EraseSectors() : UploadRecs();
    } else if (sReply == QLatin1String(mdlUploadRules::sProgrammingErrorReply)) {
        throw mdlEngineErrors::Make(mdlEngineErrors::ProgrammingError);
    } else {
        ClosePort();
        oHost.Status(mdlResources::LoadResString(eRes::UnknownResponse) + QStringLiteral(" - ") +
                     sReply);
        oHost.SetMousePointer(clsEngineHost::vbDefault);
    }
}

std::optional<bool> clsApplication::TargetIDMatches() {
    const QByteArray aBytes = oHost.SerialPort().Input().toByteArray();
    for (const char cByte : aBytes) {
        if (cByte != '\0') {
            return quint8(cByte) == yTargetID;
        }
    }
    return std::nullopt;
}

void clsApplication::AcknowledgeTarget() {
    clsSerialControl& oPort = oHost.SerialPort();
    mdlComms::SetTextMode(oPort);
    oPort.SetOutBufferCount(0);
    const char aAnswer[] = {char(bIncrementID ? yTargetID + 1 : yTargetID), '\0'};
    mdlComms::Send(oPort, QByteArray(aAnswer, 2));
}

void clsApplication::RunUpload() {
    const qint32 lResetsBefore = lResets;
    clsSerialControl& oPort = oHost.SerialPort();
    oPort.SetEventsHeld(true);
    const bool bConfirmed = oHost.ConfirmOverwrite(OverwriteWarning());
    oPort.SetEventsHeld(false);
    // While the question was open the upload may have been ended.
    if (lResets != lResetsBefore || lAppState != WaitTarget) {
        return;
    }
    if (!bConfirmed) {
        throw mdlEngineErrors::Make(mdlEngineErrors::UploadCancelled);
    }
    StampSerialNumber();
    BeginErase();
    EraseSectors();
}

void clsApplication::OpenPort() {
    mdlComms::EstablishCom(oHost.SerialPort(), *oCommSettings, yTargetID);
    oHost.PortStatus(PortLine(eRes::Opened));
}

void clsApplication::ClosePort() {
    mdlComms::CloseCom(oHost.SerialPort());
    oHost.PortStatus(PortLine(eRes::Closed));
}

void clsApplication::ResetHost() {
    ClosePort();
    oHost.ResetWindow();
}

QString clsApplication::PortLine(eRes iWordEntry) const {
    return oHost.PortName(oCommSettings->Number()) + QLatin1Char(' ') +
           mdlResources::LoadResString(iWordEntry);
}

QString clsApplication::OverwriteWarning() {
    return mdlResources::LoadResString(eRes::OverwriteWarning) + QStringLiteral("\r\n") +
           mdlResources::LoadResString(eRes::OverwriteQuestion);
}

void clsApplication::BeginErase() {
    mdlComms::SetTextMode(oHost.SerialPort());
    lAppState = Erasing;
    oHost.SetMousePointer(clsEngineHost::vbArrowHourglass);
    oHost.Status(mdlResources::LoadResString(eRes::ErasingSectors));
}

void clsApplication::EraseSectors() {
    if (iSectorCount == 0) {
        BeginUpload();
        UploadRecs();
        return;
    }
    // Preparation let only sectors 0 to 255 through.
    const auto ySector = quint8(aiSectors.at(iSectorCount - 1));
    sLastRecord = mdlUploadRules::EraseCommand(ySector).Record() + QChar(u'\0');
    SendLastRecord();
    --iSectorCount;
    oHost.ShowWaitDots();
}

void clsApplication::SendLastRecord() {
    oHost.SerialPort().SetOutBufferCount(0);
    mdlComms::Send(oHost.SerialPort(), sLastRecord.toLatin1());
    oHost.SetReplyTimer(true);
}

void clsApplication::ResendRecord() {
    constexpr qint32 lResendLimit = 3;
    if (lResendCount >= lResendLimit) {
        throw mdlEngineErrors::Make(mdlEngineErrors::ResendLimit);
    }
    SendLastRecord();
    ++lResendCount;
}

void clsApplication::BeginUpload() {
    oFlashImage->ResetBP();
    oHost.SetMousePointer(clsEngineHost::vbArrowHourglass);
    oHost.Status(mdlResources::LoadResString(eRes::UploadingRecords));
    lAppState = Uploading;
    lRecordCount = 0;
}

void clsApplication::UploadRecs() {
    constexpr qint32 lRecordsPerDot = 32;
    constexpr qint32 lRecordsBeforeNewLine = 4096;
    lResendCount = 0;
    std::optional<clsJRT_SRecord> oRecord;
    try {
        oRecord = mdlUploadRules::NextRecordToSend(*oFlashImage, yFillValue, oSerialField);
        if (!oRecord) {
            EndOfImage();
            return;
        }
        sLastRecord = oRecord->Record() + QChar(u'\0');
        SendLastRecord();
    } catch (const clsError& oError) {
        // The link's failures end the upload; anything else leaves it to
        // the technician's Stop, as it always has.
        if (mdlComms::IsSerialControlError(oError.Number())) {
            throw;
        }
        oHost.Status(mdlResources::LoadResString(eRes::UnknownUploadError));
        oHost.SetMousePointer(clsEngineHost::vbDefault);
        return;
    }
    ++lRecordCount;
    if (lRecordCount % lRecordsPerDot == 0) {
        oHost.ShowWaitDots();
    }
    if (lRecordCount == lRecordsBeforeNewLine) {
        oHost.Status(QString());
    }
}

void clsApplication::EndOfImage() {
    const QByteArray aTerminate = mdlUploadRules::TerminateBytes(yTargetID);
    if (!aTerminate.isEmpty()) {
        oHost.SerialPort().SetOutBufferCount(0);
        // The upload is complete only if the board can have had it: an
        // adapter pulled now would lose it in the close unseen.
        mdlComms::SendWhole(oHost.SerialPort(), aTerminate);
    }
    ResetHost();
    using mdlResources::LoadResString;
    if (lRecordCount == 0) {
        lAppState = NoRecords;
        oHost.Status(LoadResString(eRes::NoRecordsTransferred));
    } else {
        lAppState = Complete;
        oHost.Status(QStringLiteral("%1 - %2 %3")
                         .arg(LoadResString(eRes::UploadComplete))
                         .arg(lRecordCount)
                         .arg(LoadResString(eRes::RecordsTransferred)));
    }
    oHost.EnableResetCommand();
    oHost.SetMousePointer(clsEngineHost::vbDefault);
}
