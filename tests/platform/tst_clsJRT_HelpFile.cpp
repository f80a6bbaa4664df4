#include "platform/clsHelpViewer.h"
#include "platform/clsJRT_HelpFile.h"
#include "tests/support/mdlRaised.h"
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
        sCalls += QStringLiteral("Show(%1, %2, %3) ").arg(sFile).arg(lWindow).arg(iTopic);
        return bAgrees;
    }
    bool Close(const QString& sFile, qint32 lWindow) override {
        sCalls += QStringLiteral("Close(%1, %2) ").arg(sFile).arg(lWindow);
        return bAgrees;
    }
};

const QString sShowFailed =
    QStringLiteral("1102 clsJRT_HelpFile.ShowHelp: Unable to display requested help window.");
const QString sNotFound =
    QStringLiteral("1103 Filename <property let> --- clsJRT_HelpFile: Help file not found.");
const QString sCloseFailed =
    QStringLiteral("1101 CloseFile <sub> --- clsJRT_HelpFile: Unable to close help file window.");

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
            QCOMPARE(mdlRaised::Text([&] { oHelp.SetFilename(sRefused); }), sNotFound);
            QCOMPARE(oHelp.Filename(), sKept);
        }
    }

    // The stored name and window go to the viewer unchecked, even when never
    // set; a viewer that cannot, or none, is the member's own error.
    void showAndClose() {
        clsJRT_HelpFile oHelp;
        clsFakeViewer oViewer;
        const auto oShow = [&] { return mdlRaised::Text([&] { oHelp.ShowHelp(); }); };
        const auto oClose = [&] { return mdlRaised::Text([&] { oHelp.CloseFile(); }); };
        QCOMPARE(oShow(), sShowFailed);
        QCOMPARE(oClose(), sCloseFailed);
        oHelp.SetViewer(&oViewer);
        QCOMPARE(oShow(), QString());
        QTemporaryDir oDir;
        const QString sFile = mdlTestFiles::Write(QDir(oDir.path()), "index.html", "<h1/>");
        oHelp.SetFilename(sFile);
        oHelp.SetRequestingWindow(42);
        QCOMPARE(oClose(), QString());
        oViewer.bAgrees = false;
        QCOMPARE(oShow(), sShowFailed);
        QCOMPARE(oClose(), sCloseFailed);
        QCOMPARE(oViewer.sCalls,
                 QString("Show(, 0, -1) Close(%1, 42) Show(%1, 42, -1) Close(%1, 42) ").arg(sFile));
    }
};

QTEST_GUILESS_MAIN(tst_clsJRT_HelpFile)
#include "tst_clsJRT_HelpFile.moc"
