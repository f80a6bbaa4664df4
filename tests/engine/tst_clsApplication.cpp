#include "clsApplication.h"
#include "clsFileTable.h"
#include "clsRecordingHost.h"
#include "mdlTestFiles.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// The error oCall raises, as "code|source|description", or empty.
QString ErrorOf(const std::function<void()>& oCall) {
    try {
        oCall();
    } catch (const clsError& oError) {
        return QStringLiteral("%1|%2|%3")
            .arg(oError.Code())
            .arg(oError.Source(), oError.Description());
    }
    return {};
}

} // namespace

class tst_clsApplication : public QObject {
    Q_OBJECT

    QTemporaryDir oDir;

    QString Write(const QString& sName, const QByteArray& aContent = "S9030000FC\r\n") {
        return mdlTestFiles::Write(QDir(oDir.path()), sName, aContent);
    }

private slots:
    void commandFileName() {
        const QList<QPair<QString, QString>> aPaths = {
            {"C:\\Loads\\unit.s37", "C:\\Loads\\unit.cmd"},
            {"D:\\rel.4\\app.s19", "D:\\rel.cmd"}, // the first dot counts, even in a folder
            {"C:\\Loads\\unit", ""},
            {".s37", ""},
            {"./unit.s37", ""},
            {"", ""},
        };
        for (const auto& [sPath, sCommandFile] : aPaths) {
            QCOMPARE(clsApplication::CommandFileName(sPath), sCommandFile);
        }
    }

    // A second Run opens the same files again; a failed one leaves none open.
    void openFiles() {
        const QString sSource = QStringLiteral("|OpenFiles <sub> --- clsApplication|");
        const QList<std::tuple<QString, bool, QString, QString>> aRows = {
            {"both", true, "", "Application file opened\r\nCommand file opened"},
            {"no_app", true, "2000" + sSource + "Unable to open application file.", ""},
            {"no_cmd", false, "2001" + sSource + "Unable to determine command file name.",
             "Application file opened\r\nApplication file closed"},
        };
        for (const auto& [sName, bCmdFile, sError, sLog] : aRows) {
            const QString sAppFile =
                sName == "no_app" ? oDir.filePath("none.s19") : Write(sName + ".s19");
            if (bCmdFile) {
                Write(QFileInfo(sAppFile).baseName() + ".cmd");
            }
            clsRecordingHost oHost;
            clsApplication oApp(oHost);
            oApp.SetRecFileName(sAppFile);
            QCOMPARE(ErrorOf([&] { oApp.OpenFiles(); }), sError);
            QCOMPARE(oHost.Log(), sLog);
            QCOMPARE(ErrorOf([&] { oApp.OpenFiles(); }), sError);
            oApp.Reset();
            QCOMPARE(clsFileTable::Instance().FreeFile(), qint16(1));
        }
    }

    void resetForgetsTheUploadButKeepsWhatLastsForLife() {
        clsRecordingHost oHost;
        clsApplication oApp(oHost);
        clsJRT_HelpFile* oHelp = &oApp.HelpFile();
        oApp.SetRecFileName(QStringLiteral("/loads/unit.s37"));
        QCOMPARE(oApp.RecFileName(), QStringLiteral("/loads/unit.cmd"));
        // No command file name: 2002 alone, and the previous one stays.
        QCOMPARE(ErrorOf([&] { oApp.SetRecFileName(QStringLiteral("/loads/unit")); }),
                 QStringLiteral("2002||"));
        QCOMPARE(oApp.RecFileName(), QStringLiteral("/loads/unit.cmd"));
        oApp.SetAppState(clsApplication::Complete);
        oApp.CommSettings().SetNumber(7);
        oApp.Reset();
        QCOMPARE(oApp.AppState(), qint32(clsApplication::Idle));
        QCOMPARE(oApp.RecFileName(), QString());
        QCOMPARE(oApp.CommSettings().Number(), qint16(1));
        QCOMPARE(&oApp.HelpFile(), oHelp);
        QCOMPARE(oHelp->Filename(), QString()); // no help file here: ignored
        QCOMPARE(oApp.RegistryRoot(), QStringLiteral("SOFTWARE\\Quellis\\Tessivar\\2.6.0\\"));
    }
};

QTEST_GUILESS_MAIN(tst_clsApplication)
#include "tst_clsApplication.moc"
