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
    QLocale::Language iLanguage;
    QLocale::Territory iTerritory;
    const char* sBuildDate;
};

const DateRow aDates[] = {
    {"US English", QLocale::English, QLocale::UnitedStates,
     "Build Date: Thursday, January 27, 2005"},
    {"German", QLocale::German, QLocale::Germany, "Build Date: Donnerstag, 27. Januar 2005"},
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

struct BoxSeen {
    QString sTitle;
    QString sText;
    QMessageBox::StandardButtons aButtons;
    QMessageBox::Icon iIcon = QMessageBox::NoIcon;
};

} // namespace

class tst_frmAbout : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;
    QPointer<frmAbout> oAbout;

    QString Caption(const char* sLabel) const {
        return oAbout->findChild<QLabel*>(QLatin1String(sLabel))->text();
    }

    // Clicks System Info; a modal box it shows is read, then closed.
    QList<BoxSeen> ClickSysInfo() {
        QList<BoxSeen> aBoxes;
        QTimer oWatch;
        connect(&oWatch, &QTimer::timeout, this, [&aBoxes] {
            if (auto* oBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                aBoxes.append(
                    {oBox->windowTitle(), oBox->text(), oBox->standardButtons(), oBox->icon()});
                oBox->done(QMessageBox::Ok);
            }
        });
        oWatch.start(10);
        oAbout->findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->click();
        return aBoxes;
    }

private slots:
    void cleanup() {
        delete oAbout;
        QLocale::setDefault(QLocale::c());
    }

    void namesTheProgramInTheUsersLongDate_data() { mdlRows::Add(aDates); }

    void namesTheProgramInTheUsersLongDate() {
        QFETCH(DateRow, oRow);
        QLocale::setDefault(QLocale(oRow.iLanguage, oRow.iTerritory));
        oAbout = new frmAbout;
        QCOMPARE(oAbout->windowTitle(), QStringLiteral("Orvane Tessivar"));
        QCOMPARE(Caption("lblVersion"), QStringLiteral("Version 2.6.0"));
        QCOMPARE(Caption("lblBuildDate"), QLatin1String(oRow.sBuildDate));
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
        const QList<BoxSeen> aBoxes = ClickSysInfo();
        QCOMPARE(asStarted, sToolPath.isEmpty() ? QStringList() : QStringList{sToolPath});
        QCOMPARE(aBoxes.size(), oRow.bBox ? 1 : 0);
        for (const BoxSeen& oBox : aBoxes) {
            QCOMPARE(oBox.sTitle, QStringLiteral("Tessivar"));
            QCOMPARE(oBox.sText, QStringLiteral("MSINFO32 failed to start."));
            QVERIFY(oBox.aButtons == QMessageBox::Ok && oBox.iIcon == QMessageBox::NoIcon);
        }
        QVERIFY(!oAbout.isNull() && oAbout->isVisible());
    }
};

QTEST_MAIN(tst_frmAbout)
#include "tst_frmAbout.moc"
