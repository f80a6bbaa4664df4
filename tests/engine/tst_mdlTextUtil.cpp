#include "mdlTextUtil.h"

#include <QTest>

class tst_mdlTextUtil : public QObject {
    Q_OBJECT

private slots:
    void splitText() {
        using mdlTextUtil::SplitText;
        const QString sComma = QStringLiteral(",");
        QCOMPARE(SplitText("a , b ,c", sComma, true), (QStringList{"a", "b", "c"}));
        QCOMPARE(SplitText("a,,b", sComma, true), (QStringList{"a", "", "b"}));
        QCOMPARE(SplitText("", sComma, true), QStringList{""});
        QCOMPARE(SplitText("1,4000,", sComma, true), (QStringList{"1", "4000", ""}));
        QCOMPARE(SplitText("\t1 ,x", sComma, true), (QStringList{"\t1", "x"}));
        QCOMPARE(SplitText("aXb--c--", "--", false), (QStringList{"aXb", "c", ""}));
        QCOMPARE(SplitText("a,b", "", false), QStringList{"a,b"});
    }

    void conversions() {
        const QVariant No; // refused
        const QList<std::tuple<const char*, QVariant, QVariant, QVariant>> aRows = {
            {"16", 0x16, 0x16, 16},    {" ff ", 0xFF, 0xFF, No},     {"00018", 0x18, 0x18, 18},
            {"100", No, 0x100, 100},   {"40ffff", No, 0x40FFFF, No}, {"FFFFFFFF", No, -1, No},
            {"100000000", No, No, No}, {"-5", No, No, -5},           {"32768", No, 0x32768, No},
            {"", No, No, No},          {"1 6", No, No, No},          {"16\t", No, No, No},
            {"0x16", No, No, No},      {"1.5", No, No, No},
        };
        const auto Variant = [](const auto& oValue) {
            return oValue ? QVariant(int(*oValue)) : QVariant();
        };
        for (const auto& [sText, vByte, vLong, vInteger] : aRows) {
            const QString sRead = QString::fromLatin1(sText);
            QCOMPARE(Variant(mdlTextUtil::HexToByte(sRead)), vByte);
            QCOMPARE(Variant(mdlTextUtil::HexToLong(sRead)), vLong);
            QCOMPARE(Variant(mdlTextUtil::TextToInteger(sRead)), vInteger);
        }
    }
};

QTEST_GUILESS_MAIN(tst_mdlTextUtil)
#include "tst_mdlTextUtil.moc"
