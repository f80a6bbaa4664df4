#include "core/clsError.h"
#include "platform/clsJRT_HelpFile.h"
#include "tests/support/mdlTestFiles.h"

#include <QTemporaryDir>
#include <QTest>

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
};

QTEST_GUILESS_MAIN(tst_clsJRT_HelpFile)
#include "tst_clsJRT_HelpFile.moc"
