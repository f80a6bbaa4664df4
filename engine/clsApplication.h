#pragma once

#include "clsCommPort.h"
#include "clsEngineHost.h"
#include "clsFile.h"
#include "clsFlashImage.h"
#include "clsJRT_HelpFile.h"
#include "clsJRT_Registry.h"

#include <QList>
#include <QString>

#include <memory>

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

    const QString& RegistryRoot() const { return sRegRoot; }
    clsCommPort& CommSettings() { return *oCommSettings; }
    clsJRT_Registry& Registry() { return *oRegistry; }
    clsJRT_HelpFile& HelpFile() { return *oHelpFile; }

    // What preparation found, for the headless command.
    quint8 FillValue() const { return yFillValue; }
    // The sectors to erase, in command-file order.
    QList<qint16> Sectors() const { return aiSectors.first(iSectorCount); }
    clsFlashImage& FlashImage() { return *oFlashImage; }

    // The command file beside sPath: everything before the path's first dot
    // followed by ".cmd"; empty when there is no dot or it comes first.
    static QString CommandFileName(const QString& sPath);

private:
    QString NextCommandLine();
    void ReadRegionLine(qint32 lLine, const QString& sLine);

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
    std::unique_ptr<clsFlashImage> oFlashImage;
    std::unique_ptr<clsFile> oAppFile;
    std::unique_ptr<clsFile> oCmdFile;
    std::unique_ptr<clsJRT_Registry> oRegistry;
    std::unique_ptr<clsCommPort> oCommSettings;
    std::unique_ptr<clsJRT_HelpFile> oHelpFile;
};
