#include "tests/support/clsBoxAnswerer.h"
#include "tests/support/clsPrivateHome.h"
#include "tests/support/mdlRows.h"
#include "ui/frmAbout.h"

#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace {

struct DateRow {
    const char* sName;
    const char* sLocale;
    const char* sBuildDate;
};

const DateRow aDates[] = {
    {"US English", "en_US", "Build Date: Thursday, January 27, 2005"},
    {"German", "de_DE", "Build Date: Donnerstag, 27. Januar 2005"},
};

struct SysInfoRow {
    const char* sName;
    const char* sToolPath;
    bool bStarts;
    bool bBox;
};

const SysInfoRow aSysInfos[] = {
    {"none installed", "", true, true},
    {"found and started", "/opt/info/sysinfo", true, false},
    {"found but not started", "/opt/info/sysinfo", false, true},
};

} // namespace

class tst_frmAbout : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;
    QPointer<frmAbout> oAbout;

private slots:
    void cleanup() {
        delete oAbout;
        QLocale::setDefault(QLocale::c());
    }

    void namesTheProgramInTheUsersLongDate_data() { mdlRows::Add(aDates); }

    void namesTheProgramInTheUsersLongDate() {
        QFETCH(DateRow, oRow);
        QLocale::setDefault(QLocale(QLatin1String(oRow.sLocale)));
        oAbout = new frmAbout;
        QCOMPARE(oAbout->windowTitle(), "Orvane Tessivar");
        QCOMPARE(oAbout->findChild<QLabel*>("lblVersion")->text(), "Version 2.6.0");
        QCOMPARE(oAbout->findChild<QLabel*>("lblBuildDate")->text(), oRow.sBuildDate);
    }

    void sysInfoStartsTheToolOrSaysItCannot_data() { mdlRows::Add(aSysInfos); }

    void sysInfoStartsTheToolOrSaysItCannot() {
        QFETCH(SysInfoRow, oRow);
        QStringList asStarted;
        const auto oStart = [&](const QString& sPath) {
            asStarted << sPath;
            return oRow.bStarts;
        };
        oAbout = new frmAbout(
            nullptr, [&] { return QString(oRow.sToolPath); }, oStart);
        oAbout->show();
        clsBoxAnswerer oAnswerer;
        oAbout->findChild<QPushButton*>("cmdSysInfo")->click();
        QCOMPARE(asStarted.join(""), oRow.sToolPath);
        QCOMPARE(oAnswerer.aBoxes.size(), oRow.bBox ? 1 : 0);
        for (const clsBoxAnswerer::Box& oBox : oAnswerer.aBoxes) {
            QCOMPARE(oBox.sCaption + ": " + oBox.sText, "Tessivar: MSINFO32 failed to start.");
            QVERIFY(oBox.iIcon == QMessageBox::NoIcon && oBox.iButtons == QMessageBox::Ok);
        }
        QVERIFY(!oAbout.isNull() && oAbout->isVisible());
    }
};

QTEST_MAIN(tst_frmAbout)
#include "tst_frmAbout.moc"
