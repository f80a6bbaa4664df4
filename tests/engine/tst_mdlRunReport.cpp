#include "mdlRunReport.h"

#include <QTest>

class tst_mdlRunReport : public QObject {
    Q_OBJECT

private slots:
    void boxText_data() {
        QTest::addColumn<qint32>("lNumber");
        QTest::addColumn<QString>("sBox");
        const qint32 lBase = clsError::lObjectErrorBase;
        const QString sCorrupt = QStringLiteral("Application file may be corrupt.");
        QTest::newRow("2000") << lBase + 2000 << "Error Number: 2000\r\nD";
        QTest::newRow("2002") << lBase + 2002
                              << "Error Number: 2002\r\nUnable to determine command file "
                                 "name.\r\nCheck that the record file name is valid.";
        QTest::newRow("2009") << lBase + 2009 << "Error Number: 2009\r\nD";
        QTest::newRow("serial control") << 8005 << "Error Number: 8005\r\nD";
        QTest::newRow("2100") << lBase + 2100 << "Error Number: 2100\r\nD\r\n" + sCorrupt;
        QTest::newRow("2101") << lBase + 2101
                              << "Error Number: 2101\r\nApplication & command file do not "
                                 "agree.\r\nD";
        QTest::newRow("2102") << lBase + 2102 << "Error Number: 2102\r\nD\r\n" + sCorrupt;
        QTest::newRow("2200") << lBase + 2200
                              << "Error Number: 2200\r\n" + sCorrupt +
                                     "\r\nLine in application file is not an 'S' record.";
        QTest::newRow("2201") << lBase + 2201
                              << "Error Number: 2201\r\n" + sCorrupt +
                                     "\r\nLine in application file has a checksum error.";
        QTest::newRow("unreadable field")
            << lBase + 2214 << "Error Number: 2214\r\n" + sCorrupt + "\r\nD";
        QTest::newRow("unforeseen") << lBase + 2005
                                    << "Error Number: 2005\r\nUnknown error in cmdRunStop "
                                       "event handler.";
        QTest::newRow("platform error") << 62
                                        << "Error Number: 62\r\nUnknown error in cmdRunStop "
                                           "event handler.";
    }

    void boxText() {
        QFETCH(qint32, lNumber);
        QFETCH(QString, sBox);
        QCOMPARE(mdlRunReport::BoxText(clsError(lNumber, QStringLiteral("S"), QStringLiteral("D"))),
                 sBox);
    }
};

QTEST_GUILESS_MAIN(tst_mdlRunReport)
#include "tst_mdlRunReport.moc"
