#include "platform/mdlDataPaths.h"
#include "tests/support/mdlRows.h"
#include "ui/mdlSysInfo.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

// What System Info shows where the program has a window of its own for it.
namespace {

struct NamedRow {
    const char* sName;
    QString sNamed;
};

} // namespace

class tst_frmSysInfo : public QObject {
    Q_OBJECT

    QWidget oAbout;

    QString Report() { return oAbout.findChild<QPlainTextEdit*>("txtReport")->toPlainText(); }

private slots:
    void initTestCase() { QVERIFY(mdlSysInfo::Open(oAbout)); }

    void names_data() {
        mdlRows::Add<NamedRow>({
            {"the settings file", "Settings file: " + mdlDataPaths::SettingsFile() + "\n"},
            {"the ledger", "Ledger: " + mdlDataPaths::LedgerFile() + "\n"},
            {"the Qt version", QString("Qt: ") + qVersion()},
        });
    }

    void names() {
        QFETCH(NamedRow, oRow);
        QVERIFY2(Report().contains(oRow.sNamed), qPrintable(Report()));
    }

    void copyTakesTheWholeText() {
        QApplication::clipboard()->clear();
        oAbout.findChild<QPushButton*>("cmdCopy")->click();
        QCOMPARE(QApplication::clipboard()->text(), Report());
    }
};

QTEST_MAIN(tst_frmSysInfo)
#include "tst_frmSysInfo.moc"
