#include "clsApplication.h"
#include "frmMain.h"
#include "mdlMain.h"

#include <QApplication>
#include <QTest>

class tst_mdlMain : public QObject {
    Q_OBJECT

private slots:
    void mainShowsTheWindowOverAResetApplication() {
        mdlMain::Main();
        QVERIFY(mdlMain::MainForm().isVisible());
        QCOMPARE(mdlMain::MainForm().windowTitle(), QStringLiteral("Tessivar"));
        QCOMPARE(mdlMain::App().AppState(), qint32(clsApplication::Idle));
        QCOMPARE(mdlMain::App().RegistryRoot(),
                 QStringLiteral("SOFTWARE\\Quellis\\Tessivar\\2.6.0\\"));
        mdlMain::End();
    }
};

QTEST_MAIN(tst_mdlMain)
#include "tst_mdlMain.moc"
