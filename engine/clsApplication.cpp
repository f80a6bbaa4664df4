#include "clsApplication.h"

#include "mdlEngineErrors.h"
#include "mdlResources.h"

#include <QCoreApplication>

clsApplication::clsApplication(clsEngineHost& oNewHost)
    : oHost(oNewHost), oHelpFile(std::make_unique<clsJRT_HelpFile>()) {
    using namespace mdlResources;
    sRegRoot = QStringLiteral("SOFTWARE\\Quellis\\%1\\%2.%3.%4\\")
                   .arg(Title())
                   .arg(VersionMajor())
                   .arg(VersionMinor())
                   .arg(VersionRevision());
    try {
        oHelpFile->SetFilename(QCoreApplication::applicationDirPath() + QStringLiteral("/help/") +
                               HelpFileName());
    } catch (const clsError&) {
        // A missing help file only leaves help unavailable.
    }
    // Start-up resets again at once; this only spares every member a check
    // for objects that do not exist yet.
    Reset();
}

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
    oRegistry.reset();
    oCommSettings.reset();
    oAppFile = std::make_unique<clsFile>();
    oCmdFile = std::make_unique<clsFile>();
    oRegistry = std::make_unique<clsJRT_Registry>();
    oCommSettings = std::make_unique<clsCommPort>();

    lAppState = Idle;
}

QString clsApplication::CommandFileName(const QString& sPath) {
    const qsizetype lDot = sPath.indexOf(QLatin1Char('.'));
    if (lDot <= 0) {
        return {};
    }
    return sPath.left(lDot) + QStringLiteral(".cmd");
}

void clsApplication::SetRecFileName(const QString& sNewPath) {
    oAppFile->SetPathName(sNewPath);
    const QString sCommandFile = CommandFileName(sNewPath);
    if (sCommandFile.isEmpty()) {
        throw mdlEngineErrors::Make(mdlEngineErrors::NoCommandFileName);
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
        throw mdlEngineErrors::Make(mdlEngineErrors::OpenAppFileFailed);
    }
    oHost.Status(LoadResString(200));
    if (oCmdFile->OpenInputRead() == 0) {
        oAppFile->CloseFile();
        oHost.Status(LoadResString(202));
        throw mdlEngineErrors::Make(mdlEngineErrors::OpenCmdFileFailed);
    }
    oHost.Status(LoadResString(201));
}
