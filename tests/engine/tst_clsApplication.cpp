#include "clsApplication.h"
#include "clsFileTable.h"
#include "clsRecordingHost.h"
#include "mdlEngineErrors.h"
#include "mdlTestFiles.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

namespace {

std::optional<clsError> ErrorOf(const std::function<void()>& oCall) {
    try {
        oCall();
    } catch (const clsError& oError) {
        return oError;
    }
    return std::nullopt;
}

} // namespace

class tst_clsApplication : public QObject {
    Q_OBJECT

    QTemporaryDir oDir;

    QString Write(const QString& sName, const QByteArray& aContent) {
        return mdlTestFiles::Write(QDir(oDir.path()), sName, aContent);
    }

private slots:
    void commandFileName_data() {
        QTest::addColumn<QString>("sPath");
        QTest::addColumn<QString>("sCommandFile");
        QTest::newRow("extension") << "C:\\Loads\\unit.s37"
                                   << "C:\\Loads\\unit.cmd";
        QTest::newRow("dot in a folder") << "C:\\rel.4\\unit.s37"
                                         << "C:\\rel.cmd";
        QTest::newRow("dot in a folder, s19") << "D:\\rel.4\\app.s19"
                                              << "D:\\rel.cmd";
        QTest::newRow("two extensions") << "/loads/app.v2.s19"
                                        << "/loads/app.cmd";
        QTest::newRow("no dot") << "C:\\Loads\\unit"
                                << "";
        QTest::newRow("leading dot only") << ".s37"
                                          << "";
        QTest::newRow("leading dot first") << "./unit.s37"
                                           << "";
        QTest::newRow("empty") << ""
                               << "";
    }

    void commandFileName() {
        QFETCH(QString, sPath);
        QFETCH(QString, sCommandFile);
        QCOMPARE(clsApplication::CommandFileName(sPath), sCommandFile);
    }

    void recFileNameGivesTheCommandFile() {
        clsRecordingHost oHost;
        clsApplication oApp(oHost);
        oApp.SetRecFileName(QStringLiteral("/loads/unit.s37"));
        QCOMPARE(oApp.RecFileName(), QStringLiteral("/loads/unit.cmd"));
    }

    void recFileNameWithoutACommandFileRaises2002() {
        clsRecordingHost oHost;
        clsApplication oApp(oHost);
        oApp.SetRecFileName(QStringLiteral("/loads/unit.s37"));
        const auto oError = ErrorOf([&] { oApp.SetRecFileName(QStringLiteral("/loads/unit")); });
        QVERIFY(oError);
        QCOMPARE(oError->Number(), static_cast<qint32>(0x800407D2));
        QVERIFY(oError->Source().isEmpty());
        QVERIFY(oError->Description().isEmpty());
        QCOMPARE(oApp.RecFileName(), QStringLiteral("/loads/unit.cmd"));
    }

    void openFilesOpensBothAndSaysSo() {
        clsRecordingHost oHost;
        clsApplication oApp(oHost);
        Write(QStringLiteral("good.cmd"), "16\r\nFF\r\n");
        oApp.SetRecFileName(Write(QStringLiteral("good.s19"), "S9030000FC\r\n"));
        oApp.OpenFiles();
        QCOMPARE(oHost.Log(), QStringLiteral("Application file opened\r\nCommand file opened"));
        // Opening again closes first, so a second Run works on the same files.
        oApp.OpenFiles();
    }

    void openFilesFailures_data() {
        QTest::addColumn<bool>("bAppFileExists");
        QTest::addColumn<qint32>("lNumber");
        QTest::addColumn<QString>("sDescription");
        QTest::addColumn<QString>("sLog");
        QTest::newRow("no application file")
            << false << static_cast<qint32>(0x800407D0) << "Unable to open application file."
            << "";
        QTest::newRow("no command file")
            << true << static_cast<qint32>(0x800407D1) << "Unable to determine command file name."
            << "Application file opened\r\nApplication file closed";
    }

    void openFilesFailures() {
        QFETCH(bool, bAppFileExists);
        QFETCH(qint32, lNumber);
        QFETCH(QString, sDescription);
        QFETCH(QString, sLog);
        const QString sAppFile = oDir.filePath(QStringLiteral("lonely.s37"));
        if (bAppFileExists) {
            Write(QStringLiteral("lonely.s37"), "S9030000FC\r\n");
        }
        clsRecordingHost oHost;
        clsApplication oApp(oHost);
        oApp.SetRecFileName(sAppFile);
        const auto oError = ErrorOf([&] { oApp.OpenFiles(); });
        QVERIFY(oError);
        QCOMPARE(oError->Number(), lNumber);
        QCOMPARE(oError->Source(), QStringLiteral("OpenFiles <sub> --- clsApplication"));
        QCOMPARE(oError->Description(), sDescription);
        QCOMPARE(oHost.Log(), sLog);
        // Nothing of the failed attempt stays open.
        QCOMPARE(clsFileTable::Instance().FreeFile(), qint16(1));
    }

    void resetForgetsTheUploadButKeepsWhatLastsForLife() {
        clsRecordingHost oHost;
        clsApplication oApp(oHost);
        const QString sRoot = oApp.RegistryRoot();
        clsJRT_HelpFile* oHelp = &oApp.HelpFile();
        Write(QStringLiteral("r.cmd"), "16\r\n");
        oApp.SetRecFileName(Write(QStringLiteral("r.s19"), "S9030000FC\r\n"));
        oApp.OpenFiles();
        oApp.SetAppState(clsApplication::Complete);
        oApp.CommSettings().SetNumber(7);

        oApp.Reset();
        QCOMPARE(oApp.AppState(), qint32(clsApplication::Idle));
        QCOMPARE(oApp.RecFileName(), QString());
        QCOMPARE(oApp.TargetID(), quint8(0));
        QCOMPARE(oApp.RecordCount(), 0);
        QCOMPARE(oApp.CommSettings().Number(), qint16(1));
        QCOMPARE(oApp.RegistryRoot(), sRoot);
        QCOMPARE(&oApp.HelpFile(), oHelp);
        QCOMPARE(clsFileTable::Instance().FreeFile(), qint16(1));
    }

    void registryRootNamesTheVersion() {
        clsRecordingHost oHost;
        clsApplication oApp(oHost);
        QCOMPARE(oApp.RegistryRoot(), QStringLiteral("SOFTWARE\\Quellis\\Tessivar\\2.6.0\\"));
        QCOMPARE(oApp.RegistryRoot() + QStringLiteral("Comms"),
                 QStringLiteral("SOFTWARE\\Quellis\\Tessivar\\2.6.0\\Comms"));
    }

    void helpFileIsFoundBesideTheProgramOrLeftEmpty() {
        clsRecordingHost oHost;
        QCOMPARE(clsApplication(oHost).HelpFile().Filename(), QString());

        const QString sHelp = QCoreApplication::applicationDirPath() + "/help/qmx4.hlp";
        QDir().mkpath(QFileInfo(sHelp).path());
        QFile oHelpFile(sHelp);
        QVERIFY(oHelpFile.open(QIODevice::WriteOnly));
        oHelpFile.close();
        const QString sFound = clsApplication(oHost).HelpFile().Filename();
        QDir(QFileInfo(sHelp).path()).removeRecursively();
        QCOMPARE(sFound, sHelp);
    }

    void engineErrorTable_data() {
        QTest::addColumn<int>("iCode");
        QTest::addColumn<QString>("sSource");
        QTest::addColumn<QString>("sDescription");
        const QString sOpenFiles = QStringLiteral("OpenFiles <sub> --- clsApplication");
        QTest::newRow("2000") << 2000 << sOpenFiles << "Unable to open application file.";
        QTest::newRow("2001") << 2001 << sOpenFiles << "Unable to determine command file name.";
        QTest::newRow("2002") << 2002 << ""
                              << "";
        QTest::newRow("2003") << 2003 << "GetTargetID <sub> --- clsApplication"
                              << "Unable to determine expected target ID.";
        QTest::newRow("2004") << 2004 << "EstablishCom <sub> --- mdlComms"
                              << "Unable to establish comms with target.";
        for (const int iCode : {2005, 2006, 2007, 2008}) {
            QTest::addRow("%d", iCode) << iCode << ""
                                       << "";
        }
        QTest::newRow("2009") << 2009 << "clsApplication.InitMemoryImage"
                              << "Unable to create flash image in memory.";
    }

    void engineErrorTable() {
        QFETCH(int, iCode);
        QFETCH(QString, sSource);
        QFETCH(QString, sDescription);
        const clsError oError = mdlEngineErrors::Make(static_cast<mdlEngineErrors::eCode>(iCode));
        QCOMPARE(oError.Number(), static_cast<qint32>(0x80040000u + static_cast<quint32>(iCode)));
        QCOMPARE(oError.Source(), sSource);
        QCOMPARE(oError.Description(), sDescription);
    }
};

QTEST_GUILESS_MAIN(tst_clsApplication)
#include "tst_clsApplication.moc"
