#include "core/clsError.h"
#include "platform/clsHelpViewer.h"
#include "platform/clsJRT_HelpFile.h"
#include "tests/support/mdlRaised.h"
#include "tests/support/mdlRows.h"
#include "tests/support/mdlTestFiles.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// Stands in for the help window, which platform code cannot reach.
class clsFakeViewer : public clsHelpViewer {
public:
    bool bAgrees = true;
    QString sCalls;

    bool Show(const QString& sFile, qint32 lWindow, int iTopic) override {
        sCalls += QStringLiteral("Show(%1, %2, %3)").arg(sFile).arg(lWindow).arg(iTopic);
        return bAgrees;
    }
    bool Close(const QString& sFile, qint32 lWindow) override {
        sCalls += QStringLiteral("Close(%1, %2)").arg(sFile).arg(lWindow);
        return bAgrees;
    }
};

struct ViewerRow {
    const char* sName;
    bool bShow; // ShowHelp, else CloseFile
    bool bViewer, bAgrees;
    bool bSet;      // a file and window 42 stored first
    QString sCalls; // %1: the file stored
    QString sRaised;
};

const QString sShowFailed =
    QStringLiteral("1102 clsJRT_HelpFile.ShowHelp: Unable to display requested help window.");
const QString sCloseFailed =
    QStringLiteral("1101 CloseFile <sub> --- clsJRT_HelpFile: Unable to close help file window.");

// clang-format off
const ViewerRow aViewerRows[] = {
    {"show, nothing set", true, true, true, false, "Show(, 0, -1)", ""},
    {"show, file and window set", true, true, true, true, "Show(%1, 42, -1)", ""},
    {"show refused", true, true, false, false, "Show(, 0, -1)", sShowFailed},
    {"show without a viewer", true, false, true, true, "", sShowFailed},
    {"close, nothing set", false, true, true, false, "Close(, 0)", ""},
    {"close refused", false, true, false, true, "Close(%1, 42)", sCloseFailed},
    {"close without a viewer", false, false, true, false, "", sCloseFailed},
};
// clang-format on

} // namespace

class tst_clsJRT_HelpFile : public QObject {
    Q_OBJECT

private slots:
    // Only an ordinary file is taken; anything else keeps the earlier path.
    void filenameTakesOnlyOrdinaryFiles() {
        QTemporaryDir oDir;
        const QString sKept = mdlTestFiles::Write(QDir(oDir.path()), "qmx4.hlp", "help");
        const QString sHidden = mdlTestFiles::Write(QDir(oDir.path()), ".hidden.hlp", "help");
        clsJRT_HelpFile oHelp;
        oHelp.SetFilename(sKept);
        for (const QString& sRefused : {oDir.filePath("absent.hlp"), oDir.path(), sHidden}) {
            try {
                oHelp.SetFilename(sRefused);
                QFAIL(qPrintable(sRefused));
            } catch (const clsError& oError) {
                QCOMPARE(oError.Number(), static_cast<qint32>(0x8004044F));
                QCOMPARE(oError.Source(), "Filename <property let> --- clsJRT_HelpFile");
                QCOMPARE(oError.Description(), "Help file not found.");
            }
            QCOMPARE(oHelp.Filename(), sKept);
        }
    }

    void showAndClose_data() { mdlRows::Add(aViewerRows); }

    // The stored name and window go to the viewer unchecked; a viewer that
    // cannot, or none, is the member's own error.
    void showAndClose() {
        QFETCH(ViewerRow, oRow);
        QTemporaryDir oDir;
        const QString sFile = mdlTestFiles::Write(QDir(oDir.path()), "index.html", "<h1/>");
        clsFakeViewer oViewer;
        oViewer.bAgrees = oRow.bAgrees;
        clsJRT_HelpFile oHelp;
        oHelp.SetViewer(oRow.bViewer ? &oViewer : nullptr);
        if (oRow.bSet) {
            oHelp.SetFilename(sFile);
            oHelp.SetRequestingWindow(42);
        }
        QCOMPARE(mdlRaised::Text([&] { oRow.bShow ? oHelp.ShowHelp() : oHelp.CloseFile(); }),
                 oRow.sRaised);
        QCOMPARE(oViewer.sCalls, QString(oRow.sCalls).replace("%1", sFile));
    }
};

QTEST_GUILESS_MAIN(tst_clsJRT_HelpFile)
#include "tst_clsJRT_HelpFile.moc"
