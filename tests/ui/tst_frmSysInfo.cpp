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

    // The whole report is copied; it names the settings file and the ledger.
    void copyTakesTheWholeText() {
        QApplication::clipboard()->clear();
        oAbout.findChild<QPushButton*>("cmdCopy")->click();
        const QString sCopied = QApplication::clipboard()->text();
        QCOMPARE(sCopied, Report());
        QVERIFY2(sCopied.contains("Settings file: " + mdlDataPaths::SettingsFile() + "\n") &&
                     sCopied.contains("Ledger: " + mdlDataPaths::LedgerFile() + "\n"),
                 qPrintable(sCopied));
    }
};

QTEST_MAIN(tst_frmSysInfo)
#include "tst_frmSysInfo.moc"
