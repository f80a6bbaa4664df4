#include "clsApplication.h"
#include "frmMain.h"
#include "mdlMain.h"

#include <QApplication>
#include <QProcess>
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

    void programStaysUpUntilItIsClosed() {
        QProcess oProgram;
        QProcessEnvironment oEnvironment = QProcessEnvironment::systemEnvironment();
        oEnvironment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        oProgram.setProcessEnvironment(oEnvironment);
        oProgram.start(QStringLiteral(TESSIVAR_EXE), {});
        QVERIFY(oProgram.waitForStarted());
        QVERIFY(!oProgram.waitForFinished(1500));
        oProgram.terminate();
        QVERIFY(oProgram.waitForFinished());
    }
};

QTEST_MAIN(tst_mdlMain)
#include "tst_mdlMain.moc"
