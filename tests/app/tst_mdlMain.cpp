#include "app/mdlMain.h"
#include "engine/mdlComms.h"
#include "platform/clsPortBindings.h"
#include "platform/mdlDataPaths.h"
#include "tests/support/clsPrivateHome.h"
#include "tests/support/clsPseudoTerminal.h"
#include "tests/support/mdlShownWindow.h"
#include "tests/support/mdlTestFiles.h"
#include "ui/frmMain.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

// The program as it starts, sent a stop signal while an upload waits for
// its board: it ends as its close box ends it. One signal stands for all:
// the command line meets each.
class tst_mdlMain : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;
    QTemporaryDir oDir;
    clsPseudoTerminal oLine;

private slots:
    void initTestCase() {
        clsPortBindings oBindings(mdlComms::CommsKeyPath());
        QVERIFY(oBindings.Bind(1, oLine.SlavePath()) && oBindings.Store());
        mdlTestFiles::Write(QDir(oDir.path()), "unit.cmd", "12\r\nFF\r\n");
        mdlTestFiles::Write(QDir(oDir.path()), "unit.s19",
                            mdlTestFiles::WithCheckSum("S10B01000102030405060708").toLatin1());
    }

    void stopSignal() {
        mdlMain::Main();
        frmMain* pWindow = mdlShownWindow::Find<frmMain>();
        QVERIFY(pWindow);
        auto* oPath = pWindow->findChild<QLineEdit*>("txtAppFilePath");
        oPath->setText(oDir.filePath("unit.s19"));
        QTest::keyClick(oPath, Qt::Key_Return);
        auto* oRunStop = pWindow->findChild<QPushButton*>("cmdRunStop");
        oRunStop->click();
        // Waiting for the board.
        QCOMPARE(oRunStop->text(), "&Stop");
        ::raise(SIGTERM);
        QTRY_VERIFY(!pWindow->isVisible());
        mdlMain::End();
        const QByteArray aLedger = mdlTestFiles::Read(mdlDataPaths::LedgerFile());
        QVERIFY2(aLedger.contains("\"result\":\"stopped\""), aLedger.constData());
    }
};

QTEST_MAIN(tst_mdlMain)
#include "tst_mdlMain.moc"
