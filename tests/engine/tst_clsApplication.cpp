#include "engine/clsApplication.h"
#include "records/clsFileTable.h"
#include "tests/support/clsRecordingHost.h"
#include "tests/support/mdlRaised.h"
#include "tests/support/mdlRows.h"
#include "tests/support/mdlTestFiles.h"

#include <QTemporaryDir>
#include <QTest>

using mdlRaised::Text;

namespace {

struct NameRow {
    const char* sName;
    QString sPath, sSeparators, sCommandFile;
};

// clang-format off
const NameRow aNames[] = {
    {"dot in a user's folder", "/home/j.doe/fw/app.s19", "/", "/home/j.doe/fw/app.cmd"},
    {"no dot in the name", "/fw.1/unit", "/", ""},
    {"Windows folder with a dot", "D:\\rel.4\\app.s19", "/\\", "D:\\rel.4\\app.cmd"},
    {"Windows, both separators", "C:/Loads\\x.y/unit.v2.s37", "/\\", "C:/Loads\\x.y/unit.cmd"},
};
// clang-format on

struct OpenRow {
    const char* sName;
    bool bAppFile, bCommandFile;
    QString sError, sLog;
};

const QString sSource = "OpenFiles <sub> --- clsApplication: ";
// clang-format off
const OpenRow aOpens[] = {
    {"both files open", true, true, "", "Application file opened\r\nCommand file opened"},
    {"no application file", false, true, "2000 " + sSource + "Unable to open application file.", ""},
    {"no command file", true, false, "2001 " + sSource + "Unable to determine command file name.",
     "Application file opened\r\nApplication file closed"},
};
// clang-format on

} // namespace

class tst_clsApplication : public QObject {
    Q_OBJECT

    QTemporaryDir oDir;

    QString Write(const QString& sName) {
        return mdlTestFiles::Write(QDir(oDir.path()), sName, "S9030000FC\r\n");
    }

private slots:
    void commandFileName_data() { mdlRows::Add(aNames); }

    void commandFileName() {
        QFETCH(NameRow, oRow);
        QCOMPARE(clsApplication::CommandFileName(oRow.sPath, oRow.sSeparators), oRow.sCommandFile);
        if (oRow.sSeparators == "/") {
            QCOMPARE(clsApplication::CommandFileName(oRow.sPath), oRow.sCommandFile);
        }
    }

    void openFiles_data() { mdlRows::Add(aOpens); }

    // A second Run opens the same files again; a failed one leaves none open.
    void openFiles() {
        QFETCH(OpenRow, oRow);
        const QString sAppFile =
            oRow.bAppFile ? Write(QString(oRow.sName) + ".s19") : oDir.filePath("none.s19");
        if (oRow.bCommandFile) {
            Write(QFileInfo(sAppFile).baseName() + ".cmd");
        }
        clsRecordingHost oHost;
        clsApplication oApp(oHost);
        oApp.SetRecFileName(sAppFile);
        for (int iRun = 0; iRun < 2; ++iRun) {
            QCOMPARE(Text([&] { oApp.OpenFiles(); }), oRow.sError);
            QCOMPARE(clsFileTable::Instance().FreeFile(), qint16(oRow.sError.isEmpty() ? 3 : 1));
        }
        QCOMPARE(oHost.Log(), oRow.sLog + (oRow.sLog.isEmpty() ? "" : "\r\n") + oRow.sLog);
    }

    // No command file name: 2002 alone, and the previous one stays; a reset
    // forgets the upload.
    void resetForgetsTheUpload() {
        clsRecordingHost oHost;
        clsApplication oApp(oHost);
        oApp.SetRecFileName(QStringLiteral("/loads/unit.s37"));
        QCOMPARE(Text([&] { oApp.SetRecFileName(QStringLiteral("/loads/unit")); }), "2002 : ");
        QCOMPARE(oApp.RecFileName(), QStringLiteral("/loads/unit.cmd"));
        oApp.SetAppState(clsApplication::Complete);
        oApp.Reset();
        QCOMPARE(oApp.AppState(), qint32(clsApplication::Idle));
        QCOMPARE(oApp.RecFileName(), QString());
    }
};

QTEST_GUILESS_MAIN(tst_clsApplication)
#include "tst_clsApplication.moc"
