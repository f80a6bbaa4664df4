#include "platform/clsJRT_HelpFile.h"

#include "core/clsError.h"
#include "platform/clsHelpViewer.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>

namespace {
constexpr int iCloseFailed = 1101;
constexpr int iShowFailed = 1102;
constexpr int iHelpFileNotFound = 1103;

// "*" and "?" in the name are a directory search's wildcards, in any case
// of letters; every other character stands for itself.
QRegularExpression NamePattern(const QString& sName) {
    QString sExpression;
    for (const QChar cChar : sName) {
        sExpression += cChar == u'*'   ? QStringLiteral(".*")
                       : cChar == u'?' ? QStringLiteral(".")
                                       : QRegularExpression::escape(QString(cChar));
    }
    return QRegularExpression(QRegularExpression::anchoredPattern(sExpression),
                              QRegularExpression::CaseInsensitiveOption |
                                  QRegularExpression::DotMatchesEverythingOption);
}

// Whether sPath, its name maybe a pattern, names an ordinary file: no
// folder, no hidden file.
bool NamesOrdinaryFile(const QString& sPath) {
    const QFileInfo oInfo(sPath);
    if (oInfo.isFile() && !oInfo.isHidden()) {
        return true;
    }
    const QString sName = oInfo.fileName();
    if (!sName.contains(u'*') && !sName.contains(u'?')) {
        return false;
    }
    const QRegularExpression oPattern = NamePattern(sName);
    QDirIterator oFiles(oInfo.path(), QDir::Files);
    while (oFiles.hasNext()) {
        if (oPattern.match(oFiles.nextFileInfo().fileName()).hasMatch()) {
            return true;
        }
    }
    return false;
}

} // namespace

void clsJRT_HelpFile::SetFilename(const QString& sNewName) {
    if (!NamesOrdinaryFile(sNewName)) {
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
