#include "tests/support/clsPrivateHome.h"
#include "tests/support/mdlRows.h"
#include "ui/frmAbout.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

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

struct KeyRow {
    const char* sName;
    Qt::Key iKey;
};

const KeyRow aKeys[] = {{"Enter", Qt::Key_Return}, {"Esc", Qt::Key_Escape}};

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

    // Clicks System Info; each modal box it shows is described, then closed.
    QStringList ClickSysInfo() {
        QStringList asBoxes;
        QTimer oWatch;
        connect(&oWatch, &QTimer::timeout, this, [&asBoxes] {
            if (auto* oBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                const bool bPlain = oBox->standardButtons() == QMessageBox::Ok &&
                                    oBox->icon() == QMessageBox::NoIcon;
                asBoxes << oBox->windowTitle() + QStringLiteral(": ") + oBox->text() +
                               (bPlain ? QStringLiteral(" (OK only, no icon)") : QString());
                oBox->done(QMessageBox::Ok);
            }
        });
        oWatch.start(10);
        oAbout->findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->click();
        return asBoxes;
    }

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
        QCOMPARE(oAbout->windowTitle(), QStringLiteral("Orvane Tessivar"));
        QCOMPARE(oAbout->findChild<QLabel*>(QStringLiteral("lblVersion"))->text(),
                 QStringLiteral("Version 2.6.0"));
        QCOMPARE(oAbout->findChild<QLabel*>(QStringLiteral("lblBuildDate"))->text(),
                 QLatin1String(oRow.sBuildDate));
    }

    void keyCloses_data() { mdlRows::Add(aKeys); }

    void keyCloses() {
        QFETCH(KeyRow, oRow);
        oAbout = new frmAbout;
        oAbout->show();
        QTest::keyClick(oAbout, oRow.iKey);
        QTRY_VERIFY(oAbout.isNull());
    }

    void sysInfoStartsTheToolOrSaysItCannot_data() { mdlRows::Add(aSysInfos); }

    void sysInfoStartsTheToolOrSaysItCannot() {
        QFETCH(SysInfoRow, oRow);
        const QString sToolPath = QString::fromLatin1(oRow.sToolPath);
        QStringList asStarted;
        oAbout = new frmAbout(
            nullptr, [&sToolPath] { return sToolPath; },
            [&](const QString& sPath) {
                asStarted << sPath;
                return oRow.bStarts;
            });
        oAbout->show();
        const QStringList asBoxes = ClickSysInfo();
        QCOMPARE(asStarted, sToolPath.isEmpty() ? QStringList() : QStringList{sToolPath});
        const QString sBox =
            QStringLiteral("Tessivar: MSINFO32 failed to start. (OK only, no icon)");
        QCOMPARE(asBoxes, oRow.bBox ? QStringList{sBox} : QStringList());
        QVERIFY(!oAbout.isNull() && oAbout->isVisible());
    }
};

QTEST_MAIN(tst_frmAbout)
#include "tst_frmAbout.moc"
