#include "tests/support/clsBoxAnswerer.h"
#include "tests/support/clsPrivateHome.h"
#include "ui/frmAbout.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTest>

class tst_frmAbout : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;

private slots:
    // Asked of the About window, which stays open: a box only where
    // nothing opened.
    void sysInfoOpensOrSaysItCannot() {
        QList<QWidget*> aAsked;
        bool bOpens = false;
        frmAbout oAbout(nullptr, [&](QWidget& oAskedBy) {
            aAsked << &oAskedBy;
            return bOpens;
        });
        oAbout.show();
        clsBoxAnswerer oAnswerer;
        auto* oSysInfo = oAbout.findChild<QPushButton*>("cmdSysInfo");
        oSysInfo->click();
        bOpens = true;
        oSysInfo->click();
        QCOMPARE(aAsked, (QList<QWidget*>{&oAbout, &oAbout}));
        QCOMPARE(oAnswerer.aBoxes.size(), 1);
        const clsBoxAnswerer::Box oBox = oAnswerer.aBoxes.first();
        QCOMPARE(oBox.sCaption + ": " + oBox.sText, "Tessivar: MSINFO32 failed to start.");
        QVERIFY(oBox.iIcon == QMessageBox::NoIcon && oBox.iButtons == QMessageBox::Ok);
        QVERIFY(oAbout.isVisible());
    }
};

QTEST_MAIN(tst_frmAbout)
#include "tst_frmAbout.moc"
