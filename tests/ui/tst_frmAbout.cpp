#include "tests/support/clsBoxAnswerer.h"
#include "tests/support/clsPrivateHome.h"
#include "tests/support/mdlRows.h"
#include "ui/frmAbout.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

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

private slots:

    void sysInfoStartsTheToolOrSaysItCannot_data() { mdlRows::Add(aSysInfos); }

    void sysInfoStartsTheToolOrSaysItCannot() {
        QFETCH(SysInfoRow, oRow);
        QStringList asStarted;
        const auto oStart = [&](const QString& sPath) {
            asStarted << sPath;
            return oRow.bStarts;
        };
        frmAbout oAbout(
            nullptr, [&] { return QString(oRow.sToolPath); }, oStart);
        oAbout.show();
        clsBoxAnswerer oAnswerer;
        oAbout.findChild<QPushButton*>("cmdSysInfo")->click();
        QCOMPARE(asStarted.join(""), oRow.sToolPath);
        QCOMPARE(oAnswerer.aBoxes.size(), oRow.bBox ? 1 : 0);
        for (const clsBoxAnswerer::Box& oBox : oAnswerer.aBoxes) {
            QCOMPARE(oBox.sCaption + ": " + oBox.sText, "Tessivar: MSINFO32 failed to start.");
            QVERIFY(oBox.iIcon == QMessageBox::NoIcon && oBox.iButtons == QMessageBox::Ok);
        }
        QVERIFY(oAbout.isVisible());
    }
};

QTEST_MAIN(tst_frmAbout)
#include "tst_frmAbout.moc"
