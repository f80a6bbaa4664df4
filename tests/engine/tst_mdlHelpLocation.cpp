#include "engine/mdlHelpLocation.h"
#include "tests/support/mdlRows.h"
#include "tests/support/mdlTestFiles.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

struct LocationRow {
    const char* sName;
    bool bBeside, bInstalled;
    const char* sFound; // below the folder that holds bin
};

// clang-format off
const LocationRow aLocations[] = {
    {"beside the program", true, false, "bin/help/index.html"},
    {"installed", false, true, "share/tessivar/help/index.html"},
    {"both: the one beside wins", true, true, "bin/help/index.html"},
    {"neither: where it belongs beside", false, false, "bin/help/index.html"},
};
// clang-format on

} // namespace

class tst_mdlHelpLocation : public QObject {
    Q_OBJECT

private slots:
    void helpFilePath_data() { mdlRows::Add(aLocations); }

    void helpFilePath() {
        QFETCH(LocationRow, oRow);
        QTemporaryDir oPrefix;
        const QDir oRoot(oPrefix.path());
        QVERIFY(oRoot.mkpath("bin"));
        if (oRow.bBeside) {
            mdlTestFiles::Write(oRoot, "bin/help/index.html", "<h1/>");
        }
        if (oRow.bInstalled) {
            mdlTestFiles::Write(oRoot, "share/tessivar/help/index.html", "<h1/>");
        }
        QCOMPARE(mdlHelpLocation::HelpFilePath(oRoot.filePath("bin")), oRoot.filePath(oRow.sFound));
    }
};

QTEST_GUILESS_MAIN(tst_mdlHelpLocation)
#include "tst_mdlHelpLocation.moc"
