#include "platform/clsJRT_HelpFile.h"

#include "core/clsError.h"
#include "platform/clsHelpViewer.h"

#include <QFileInfo>

namespace {
constexpr int iCloseFailed = 1101;
constexpr int iShowFailed = 1102;
constexpr int iHelpFileNotFound = 1103;
} // namespace

void clsJRT_HelpFile::SetFilename(const QString& sNewName) {
    const QFileInfo oInfo(sNewName);
    if (!oInfo.isFile() || oInfo.isHidden()) {
        throw clsError::FromCode(iHelpFileNotFound,
                                 QStringLiteral("Filename <property let> --- clsJRT_HelpFile"),
                                 QStringLiteral("Help file not found."));
    }
    sFilename = sNewName;
}

void clsJRT_HelpFile::ShowHelp() {
    if (oViewer == nullptr ||
        !oViewer->Show(sFilename, lRequestingWindow, clsHelpViewer::iContents)) {
        throw clsError::FromCode(iShowFailed, QStringLiteral("clsJRT_HelpFile.ShowHelp"),
                                 QStringLiteral("Unable to display requested help window."));
    }
}

void clsJRT_HelpFile::CloseFile() {
    if (oViewer == nullptr || !oViewer->Close(sFilename, lRequestingWindow)) {
        throw clsError::FromCode(iCloseFailed,
                                 QStringLiteral("CloseFile <sub> --- clsJRT_HelpFile"),
                                 QStringLiteral("Unable to close help file window."));
    }
}
