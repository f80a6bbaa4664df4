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
    bool Show(const QString&, qint32, int) override { return bAgrees; }
    bool Close(const QString&, qint32) override { return bAgrees; }
};

struct FilenameRow {
    const char* sName;
    // In a folder that holds qmx4.hlp and the folder dir.hlp.
    const char* sPath;
    bool bAccepted;
};

// clang-format off
const FilenameRow aFilenames[] = {
    {"missing file keeps the earlier one", "none.hlp", false},
    {"pattern matching a file, in another case", "Q*.H?P", true},
    {"pattern matching only a folder", "d*", false},
};
// clang-format on

} // namespace

class tst_clsJRT_HelpFile : public QObject {
    Q_OBJECT

    QTemporaryDir oDir;

private slots:
    void initTestCase() {
        mdlTestFiles::Write(oDir.path(), "qmx4.hlp", "help");
        QVERIFY(QDir(oDir.path()).mkdir("dir.hlp"));
    }

    void filename_data() { mdlRows::Add(aFilenames); }

    // A pattern is stored as given.
    void filename() {
        QFETCH(FilenameRow, oRow);
        clsJRT_HelpFile oHelp;
        const QString sEarlier = oDir.filePath("qmx4.hlp");
        oHelp.SetFilename(sEarlier);
        const QString sPath = oDir.filePath(oRow.sPath);
        QCOMPARE(mdlRaised::Text([&] { oHelp.SetFilename(sPath); }),
                 oRow.bAccepted
                     ? QString()
                     : "1103 Filename <property let> --- clsJRT_HelpFile: Help file not found.");
        QCOMPARE(oHelp.Filename(), oRow.bAccepted ? sPath : sEarlier);
    }

    // Without a viewer, or with one that cannot, showing and closing fail.
    void showAndClose() {
        clsJRT_HelpFile oHelp;
        clsFakeViewer oViewer;
        const auto oShowAndClose = [&] {
            return mdlRaised::Text([&] { oHelp.ShowHelp(); }) + '|' +
                   mdlRaised::Text([&] { oHelp.CloseFile(); });
        };
        const QString sFailed =
            "1102 clsJRT_HelpFile.ShowHelp: Unable to display requested help window.|"
            "1101 CloseFile <sub> --- clsJRT_HelpFile: Unable to close help file window.";
        QCOMPARE(oShowAndClose(), sFailed);
        oHelp.SetViewer(&oViewer);
        QCOMPARE(oShowAndClose(), "|");
        oViewer.bAgrees = false;
        QCOMPARE(oShowAndClose(), sFailed);
    }
};

QTEST_GUILESS_MAIN(tst_clsJRT_HelpFile)
#include "tst_clsJRT_HelpFile.moc"
