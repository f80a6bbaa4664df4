#include "clsStatusText.h"

#include <QTest>

// Each step: "D" for wait dots, "C" to clear, anything else a status line
// after its first character.
class tst_clsStatusText : public QObject {
    Q_OBJECT

private slots:
    void sequences_data() {
        QTest::addColumn<QStringList>("aSteps");
        QTest::addColumn<QString>("sText");
        QTest::newRow("first line has no separator")
            << QStringList{">Target ID: 22"} << "Target ID: 22";
        QTest::newRow("lines joined by CR LF")
            << QStringList{">Application file opened", ">Command file opened"}
            << "Application file opened\r\nCommand file opened";
        QTest::newRow("dots on an empty log") << QStringList{"D"} << " .";
        QTest::newRow("dots on the last line")
            << QStringList{">Erasing sectors", "D", "D", "D"} << "Erasing sectors . . .";
        QTest::newRow("empty line starts a new row of dots")
            << QStringList{">Reading 'S' records", "D", ">", "D", "D"}
            << "Reading 'S' records .\r\n . .";
        QTest::newRow("empty line on an empty log adds nothing")
            << QStringList{">", ">first"} << "first";
        QTest::newRow("two empty lines") << QStringList{">a", ">", ">"} << "a\r\n\r\n";
        QTest::newRow("clear starts afresh") << QStringList{">old", "D", "C", ">new"} << "new";
    }

    void sequences() {
        QFETCH(QStringList, aSteps);
        QFETCH(QString, sText);
        clsStatusText oText;
        QString sAddedInAll;
        for (const QString& sStep : aSteps) {
            if (sStep == QLatin1String("D")) {
                sAddedInAll += oText.AppendWaitDots();
            } else if (sStep == QLatin1String("C")) {
                oText.Clear();
                sAddedInAll.clear();
            } else {
                sAddedInAll += oText.AppendLine(sStep.mid(1));
            }
        }
        QCOMPARE(oText.Text(), sText);
        QCOMPARE(sAddedInAll, sText);
    }
};

QTEST_GUILESS_MAIN(tst_clsStatusText)
#include "tst_clsStatusText.moc"
