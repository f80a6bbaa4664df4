#include "mdlTextUtil.h"

#include <QTest>

class tst_mdlTextUtil : public QObject {
    Q_OBJECT

private slots:
    void splitText_data() {
        QTest::addColumn<QString>("sText");
        QTest::addColumn<QString>("sDelimiter");
        QTest::addColumn<bool>("bTrim");
        QTest::addColumn<QStringList>("asFields");
        QTest::newRow("spaces around fields") << "a , b ,c"
                                              << "," << true << QStringList{"a", "b", "c"};
        QTest::newRow("untrimmed") << "a , b"
                                   << "," << false << QStringList{"a ", " b"};
        QTest::newRow("empty field between") << "a,,b"
                                             << "," << true << QStringList{"a", "", "b"};
        QTest::newRow("empty text") << ""
                                    << "," << true << QStringList{""};
        QTest::newRow("ends with delimiter") << "1,4000,"
                                             << "," << true << QStringList{"1", "4000", ""};
        QTest::newRow("region line") << "1,4000,7FFF,E"
                                     << "," << true << QStringList{"1", "4000", "7FFF", "E"};
        QTest::newRow("only spaces trimmed") << "\t1 ,x\t"
                                             << "," << true << QStringList{"\t1", "x\t"};
        QTest::newRow("longer delimiter") << "a--b--"
                                          << "--" << false << QStringList{"a", "b", ""};
        QTest::newRow("case-sensitive") << "aXbxc"
                                        << "x" << false << QStringList{"aXb", "c"};
        QTest::newRow("empty delimiter") << "a,b"
                                         << "" << false << QStringList{"a,b"};
    }

    void splitText() {
        QFETCH(QString, sText);
        QFETCH(QString, sDelimiter);
        QFETCH(bool, bTrim);
        QFETCH(QStringList, asFields);
        QCOMPARE(mdlTextUtil::SplitText(sText, sDelimiter, bTrim), asFields);
    }

    void hexToByte_data() {
        QTest::addColumn<QString>("sText");
        QTest::addColumn<int>("iValue"); // -1: refused
        QTest::newRow("16") << "16" << 0x16;
        QTest::newRow("lower case") << "ff" << 0xFF;
        QTest::newRow("leading zeros") << "00018" << 0x18;
        QTest::newRow("spaces around") << " 15 " << 0x15;
        QTest::newRow("above FF") << "100" << -1;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("blank") << "   " << -1;
        QTest::newRow("not hex") << "G1" << -1;
        QTest::newRow("prefix") << "0x16" << -1;
        QTest::newRow("sign") << "-1" << -1;
        QTest::newRow("space inside") << "1 6" << -1;
        QTest::newRow("tab") << "16\t" << -1;
        QTest::newRow("many digits") << QString(100, QLatin1Char('F')) << -1;
    }

    void hexToByte() {
        QFETCH(QString, sText);
        QFETCH(int, iValue);
        const auto yValue = mdlTextUtil::HexToByte(sText);
        QCOMPARE(yValue ? int(*yValue) : -1, iValue);
    }

    void hexToLong_data() {
        QTest::addColumn<QString>("sText");
        QTest::addColumn<bool>("bValid");
        QTest::addColumn<qint32>("lValue");
        QTest::newRow("4000") << "4000" << true << 0x4000;
        QTest::newRow("top of id 21") << "40ffff" << true << 0x40FFFF;
        QTest::newRow("sign bit set") << "80000000" << true << qint32(0x80000000);
        QTest::newRow("all ones") << "FFFFFFFF" << true << -1;
        QTest::newRow("leading zeros") << "000000004000" << true << 0x4000;
        QTest::newRow("33 bits") << "100000000" << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("not hex") << "40G0" << false << 0;
    }

    void hexToLong() {
        QFETCH(QString, sText);
        QFETCH(bool, bValid);
        QFETCH(qint32, lValue);
        const auto lResult = mdlTextUtil::HexToLong(sText);
        QCOMPARE(lResult.has_value(), bValid);
        if (bValid) {
            QCOMPARE(*lResult, lValue);
        }
    }

    void textToInteger_data() {
        QTest::addColumn<QString>("sText");
        QTest::addColumn<bool>("bValid");
        QTest::addColumn<int>("iValue");
        QTest::newRow("2") << "2" << true << 2;
        QTest::newRow("above a byte") << "300" << true << 300;
        QTest::newRow("signs") << "-5" << true << -5;
        QTest::newRow("16-bit limits") << "32767" << true << 32767;
        QTest::newRow("past 16 bits") << "32768" << false << 0;
        QTest::newRow("hex") << "1A" << false << 0;
        QTest::newRow("fraction") << "1.5" << false << 0;
        QTest::newRow("empty") << "" << false << 0;
    }

    void textToInteger() {
        QFETCH(QString, sText);
        QFETCH(bool, bValid);
        QFETCH(int, iValue);
        const auto iResult = mdlTextUtil::TextToInteger(sText);
        QCOMPARE(iResult.has_value(), bValid);
        if (bValid) {
            QCOMPARE(int(*iResult), iValue);
        }
    }
};

QTEST_GUILESS_MAIN(tst_mdlTextUtil)
#include "tst_mdlTextUtil.moc"
