#include "clsError.h"
#include "clsJRT_HelpFile.h"
#include "mdlTestFiles.h"

#include <QTemporaryDir>
#include <QTest>

class tst_clsJRT_HelpFile : public QObject {
    Q_OBJECT

    QTemporaryDir oDir;

private slots:
    void filenameAcceptsAnOrdinaryFile() {
        clsJRT_HelpFile oHelp;
        const QString sPath = mdlTestFiles::Write(QDir(oDir.path()), "qmx4.hlp", "help");
        oHelp.SetFilename(sPath);
        QCOMPARE(oHelp.Filename(), sPath);
    }

    void filenameRefusesWhatIsNotAnOrdinaryFile_data() {
        QTest::addColumn<QString>("sName");
        QTest::newRow("missing") << "absent.hlp";
        QTest::newRow("directory") << "";
        QTest::newRow("hidden") << ".hidden.hlp";
    }

    void filenameRefusesWhatIsNotAnOrdinaryFile() {
        QFETCH(QString, sName);
        if (sName.startsWith(QLatin1Char('.'))) {
            mdlTestFiles::Write(QDir(oDir.path()), sName, "help");
        }
        clsJRT_HelpFile oHelp;
        const QString sKept = mdlTestFiles::Write(QDir(oDir.path()), "kept.hlp", "help");
        oHelp.SetFilename(sKept);
        try {
            oHelp.SetFilename(oDir.filePath(sName));
            QFAIL("no error raised");
        } catch (const clsError& oError) {
            QCOMPARE(oError.Number(), static_cast<qint32>(0x8004044F));
            QCOMPARE(oError.Source(),
                     QStringLiteral("Filename <property let> --- clsJRT_HelpFile"));
            QCOMPARE(oError.Description(), QStringLiteral("Help file not found."));
        }
        QCOMPARE(oHelp.Filename(), sKept);
    }
};

QTEST_GUILESS_MAIN(tst_clsJRT_HelpFile)
#include "tst_clsJRT_HelpFile.moc"
