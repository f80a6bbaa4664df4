#include "platform/mdlDataPaths.h"
#include "ui/mdlSysInfo.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

// What System Info shows where the program has a window of its own for it.
class tst_frmSysInfo : public QObject {
    Q_OBJECT

    QWidget oAbout;

    QString Report() { return oAbout.findChild<QPlainTextEdit*>("txtReport")->toPlainText(); }

private slots:
    void initTestCase() { QVERIFY(mdlSysInfo::Open(oAbout)); }

    void names_data() {
        QTest::addColumn<QString>("sLine");
        QTest::newRow("the settings file")
            << "Settings file: " + mdlDataPaths::SettingsFile() + "\n";
        QTest::newRow("the ledger") << "Ledger: " + mdlDataPaths::LedgerFile() + "\n";
    }

    void names() {
        QFETCH(QString, sLine);
        QVERIFY2(Report().contains(sLine), qPrintable(Report()));
    }

    void copyTakesTheWholeText() {
        QApplication::clipboard()->clear();
        oAbout.findChild<QPushButton*>("cmdCopy")->click();
        QCOMPARE(QApplication::clipboard()->text(), Report());
    }
};

QTEST_MAIN(tst_frmSysInfo)
#include "tst_frmSysInfo.moc"
