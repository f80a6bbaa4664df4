#include "platform/clsJRT_HelpFile.h"

#include "core/clsError.h"

#include <QFileInfo>

namespace {
constexpr int iHelpFileNotFound = 1103;
}

void clsJRT_HelpFile::SetFilename(const QString& sNewName) {
    const QFileInfo oInfo(sNewName);
    if (!oInfo.isFile() || oInfo.isHidden()) {
        throw clsError::FromCode(iHelpFileNotFound,
                                 QStringLiteral("Filename <property let> --- clsJRT_HelpFile"),
                                 QStringLiteral("Help file not found."));
    }
    sFilename = sNewName;
}
