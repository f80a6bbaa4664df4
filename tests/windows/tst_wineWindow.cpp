#include "app/mdlMain.h"
#include "tests/support/clsBoxAnswerer.h"
#include "tests/support/mdlShownWindow.h"
#include "ui/frmMain.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

// The window as a technician starts it on Windows, run by the test command
// under Wine with the board simulator on COM1 (tests/windows/with-board.sh,
// which then checks the board's flash).
class tst_wineWindow : public QObject {
    Q_OBJECT

private slots:
    void uploadsTheDemoThroughCom1() {
        mdlMain::Main();
        frmMain& oWindow = *mdlShownWindow::Find<frmMain>();
        QVERIFY(QTest::qWaitForWindowExposed(&oWindow));
        QCOMPARE(oWindow.windowTitle(), "Orvane Tessivar");
        clsBoxAnswerer oAnswerer;
        oWindow.findChild<QComboBox*>("cboPortNumber")->setCurrentText("1");
        auto* oPath = oWindow.findChild<QLineEdit*>("txtAppFilePath");
        oPath->setText(QStringLiteral(TESSIVAR_DEMO));
        QTest::keyClick(oPath, Qt::Key_Return);
        auto* oRunStop = oWindow.findChild<QPushButton*>("cmdRunStop");
        oRunStop->click();
        QTRY_VERIFY_WITH_TIMEOUT(oWindow.findChild<QPushButton*>("cmdReset")->isEnabled(), 120'000);
        const QStringList asLog = oWindow.findChild<QPlainTextEdit*>("txtStatus")
                                      ->toPlainText()
                                      .split('\n', Qt::SkipEmptyParts);
        QCOMPARE(asLog.last(), "Upload Complete - 706 records transferred.");
        mdlMain::End();
    }
};

QTEST_MAIN(tst_wineWindow)
#include "tst_wineWindow.moc"
