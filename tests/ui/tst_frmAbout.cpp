#include "tests/support/clsBoxAnswerer.h"
#include "tests/support/clsPrivateHome.h"
#include "tests/support/mdlRows.h"
#include "ui/frmAbout.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTest>

namespace {

struct SysInfoRow {
    const char* sName;
    bool bOpens;
};

const SysInfoRow aSysInfos[] = {
    {"opened", true},
    {"nothing opened", false},
};

} // namespace

class tst_frmAbout : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;

private slots:

    void sysInfoOpensOrSaysItCannot_data() { mdlRows::Add(aSysInfos); }

    void sysInfoOpensOrSaysItCannot() {
        QFETCH(SysInfoRow, oRow);
        QList<QWidget*> aAsked;
        frmAbout oAbout(nullptr, [&](QWidget& oAskedBy) {
            aAsked << &oAskedBy;
            return oRow.bOpens;
        });
        oAbout.show();
        clsBoxAnswerer oAnswerer;
        oAbout.findChild<QPushButton*>("cmdSysInfo")->click();
        QCOMPARE(aAsked, QList<QWidget*>{&oAbout});
        QCOMPARE(oAnswerer.aBoxes.size(), oRow.bOpens ? 0 : 1);
        for (const clsBoxAnswerer::Box& oBox : oAnswerer.aBoxes) {
            QCOMPARE(oBox.sCaption + ": " + oBox.sText, "Tessivar: MSINFO32 failed to start.");
            QVERIFY(oBox.iIcon == QMessageBox::NoIcon && oBox.iButtons == QMessageBox::Ok);
        }
        QVERIFY(oAbout.isVisible());
    }
};

QTEST_MAIN(tst_frmAbout)
#include "tst_frmAbout.moc"
