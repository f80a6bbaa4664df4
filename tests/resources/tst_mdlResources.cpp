#include "mdlResources.h"

#include <QTest>

class tst_mdlResources : public QObject {
    Q_OBJECT

private slots:
    // Entries whose punctuation is easy to get wrong; the texts are shown
    // and compared by the program exactly as written.
    void stringTableKeepsEveryCharacter() {
        const QList<QPair<int, QString>> aEntries = {
            {10, "Tessivar"},
            {113, "'S' Record Files (*.s37; *.s19)|*.s37;*.s19|All Files (*.*)|*.*"},
            {500, "Error Number: "},
            {509, "Application & command file do not agree."},
        };
        for (const auto& [iID, sText] : aEntries) {
            QCOMPARE(mdlResources::LoadResString(iID), sText);
        }
        QVERIFY(mdlResources::LoadResString(20).contains(QStringLiteral("Quellis")));
        for (const int iID : {0, 4, 115, 215, 522, -1}) {
            QVERIFY(mdlResources::LoadResString(iID).isEmpty());
        }
    }

    void executableSettings() {
        using namespace mdlResources;
        QCOMPARE(QStringLiteral("%1 %2.%3.%4")
                     .arg(Title())
                     .arg(VersionMajor())
                     .arg(VersionMinor())
                     .arg(VersionRevision()),
                 QStringLiteral("Tessivar 2.6.0"));
        QCOMPARE(Comments() + ' ' + HelpFileName(), QStringLiteral("27 January 2005 qmx4.hlp"));
    }
};

QTEST_GUILESS_MAIN(tst_mdlResources)
#include "tst_mdlResources.moc"
