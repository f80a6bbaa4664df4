#pragma once

#include "engine/clsCommPort.h"
#include "engine/clsEngineHost.h"
#include "engine/clsOpenedFiles.h"
#include "engine/clsPreparedUpload.h"
#include "engine/clsSerialNumbering.h"
#include "platform/clsJRT_HelpFile.h"
#include "platform/clsJRT_Registry.h"
#include "records/clsFile.h"
#include "records/clsFlashImage.h"
#include "resources/mdlResources.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

// Everything about one upload: the two input files, the target, the sector
// list, the counters, the application state and the support objects.
class clsApplication {
public:
    enum eAppState : qint32 {
        Idle = 0,
        WaitTarget = 1,
        Erasing = 2,
        Uploading = 3,
        Complete = 4,
        NoRecords = 5,
    };
    // In lState the board's flash is being written: its sectors erased, or
    // its records sent.
    static bool IsWriting(qint32 lState) { return lState == Erasing || lState == Uploading; }

    explicit clsApplication(clsEngineHost& oNewHost);
    ~clsApplication();
    clsApplication(const clsApplication&) = delete;
    clsApplication& operator=(const clsApplication&) = delete;

    void Reset();

    // Sets the application file and derives its command file; raises 2002
    // when no command file name can be derived.
    void SetRecFileName(const QString& sNewPath);
    // The command file's path, not the application file's.
    QString RecFileName() const;
    qint32 RecordCount() const { return lRecordCount; }
    quint8 TargetID() const { return yTargetID; }
    qint32 AppState() const { return lAppState; }
    void SetAppState(qint32 lNewState) { lAppState = lNewState; }

    void OpenFiles();
    // Image preparation, in this order after OpenFiles.
    void GetTargetID();
    void InitMemoryImage();
    void BuildImage();
    // Everything Run does before the port opens, for callers without a
    // window: the file name, OpenFiles and the three preparation steps.
    void PrepareUpload(const QString& sRecFile);
    // PrepareUpload in its two halves: the file name and OpenFiles, then
    // the three preparation steps.
    void OpenUploadFiles(const QString& sRecFile);
    // The three steps, then the checks of the serial number's field and
    // store where there are any.
    void PrepareImage();
    // The two files as preparation read them to their ends: what the image
    // was made of, whatever became of them under their names meanwhile.
    clsOpenedFiles FilesAsRead();
    // What the preparation made, the image copied, for further boards.
    // Taken before the board's dialogue begins: erasing uses up the sectors.
    clsPreparedUpload Prepared() const;
    // In place of PrepareUpload, after a Reset: oPrepared's files, target,
    // fill value, sectors and image, and no file read.
    void UsePrepared(const clsPreparedUpload& oPrepared);

    // Where each board's serial number goes; the record that holds it is
    // sent even where the rest of it is fill. Both stay across Reset.
    void SetSerialField(const clsSerialField& oField) { oSerialField = oField; }
    const std::optional<clsSerialField>& SerialField() const { return oSerialField; }
    // Each board takes its number from oNumbers once the technician
    // confirmed the warning, before anything of it is erased.
    void NumberBoards(clsSerialNumbering& oNumbers);
    // The board's number used, or else given back to its store.
    std::optional<clsSerialNumbering::Use> SettleSerialNumber(bool bUsed);

    // Counters from zero, and the board's first byte awaited (state 1).
    void BeginWaitForTarget();
    // The board dialogue: every event of the serial control comes here.
    // Raises 2005 to 2008 as the dialogue ends with them, and what the
    // serial link raises.
    void CommEventHandler(qint32 lEvent);
    void RunUpload();
    // Opens the host's port for the target's upload and logs it; raises as
    // mdlComms::EstablishCom.
    void OpenPort();
    // Closes the host's port and logs it, a port that was not open too.
    void ClosePort();
    // As an upload ends: the port closed, then the host back to idle.
    void ResetHost();
    // The warning that RunUpload asks to confirm.
    static QString OverwriteWarning();
    void EraseSectors();
    void UploadRecs();

    const QString& RegistryRoot() const { return sRegRoot; }
    clsEngineHost& Host() { return oHost; }
    clsCommPort& CommSettings() { return *oCommSettings; }
    const clsCommPort& CommSettings() const { return *oCommSettings; }
    clsJRT_Registry& Registry() { return *oRegistry; }
    clsJRT_HelpFile& HelpFile() { return *oHelpFile; }

    // What preparation found, for the headless command.
    quint8 FillValue() const { return yFillValue; }
    // The sectors to erase, in command-file order.
    QList<qint16> Sectors() const { return aiSectors.first(iSectorCount); }
    clsFlashImage& FlashImage() { return *oFlashImage; }

    // The command file beside sPath: the path up to the first dot of the
    // file's own name, followed by ".cmd"; empty when the name has no dot
    // or begins with it. Folders end at any of sSeparators; the first form
    // takes the platform's.
    static QString CommandFileName(const QString& sPath);
    static QString CommandFileName(const QString& sPath, QStringView sSeparators);

private:
    // Whether the board's first byte is its target id; nothing when only
    // line noise came (nothing, or 0x00 bytes while the board is off).
    std::optional<bool> TargetIDMatches();
    void AcknowledgeTarget();
    void CheckSerialNumber();
    void StampSerialNumber();
    void BeginErase();
    void SendLastRecord();
    void ResendRecord();
    void BeginUpload();
    void EndOfImage();
    // The log line of the port and string-table entry iWordEntry.
    QString PortLine(eRes iWordEntry) const;
    void ReadRegionLine(qint32 lLine, const QString& sLine);
    // An error met at line lLine of a file, with the line and the file's
    // path; a line the reader could not read becomes that file's own error.
    clsError InCommandFile(const clsError& oError, qint32 lLine) const;
    clsError InApplicationFile(const clsError& oError, qint32 lLine) const;
    using LineError = clsError (*)(qint32 lLine, const QString& sProblem);
    static clsError AtLineOf(const clsError& oError, qint32 lLine, const clsFile& oFile,
                             LineError oUnreadable);

    clsEngineHost& oHost;

    QList<qint16> aiSectors;
    qint16 iSectorCount = 0;
    quint8 yTargetID = 0;
    QString sRegRoot;
    qint32 lRecordCount = 0;
    qint32 lResendCount = 0;
    QString sLastRecord;
    quint8 yFillValue = 0;
    bool bIncrementID = false;
    qint32 lAppState = Idle;
    // Resets so far: a step that waited for the technician can tell that
    // one replaced what it was working on.
    qint32 lResets = 0;
    std::unique_ptr<clsFlashImage> oFlashImage;
    std::unique_ptr<clsFile> oAppFile;
    std::unique_ptr<clsFile> oCmdFile;
    std::unique_ptr<clsJRT_Registry> oRegistry;
    std::unique_ptr<clsCommPort> oCommSettings;
    std::unique_ptr<clsJRT_HelpFile> oHelpFile;
    std::optional<clsSerialField> oSerialField;
    clsSerialNumbering* pSerialNumbers = nullptr;
};
