#include "clsError.h"

#include <QTest>

class tst_clsError : public QObject {
    Q_OBJECT

private slots:
    void applicationErrorsCarryTheBasePlusTheirCode() {
        const clsError oError =
            clsError::FromCode(2000, QStringLiteral("src"), QStringLiteral("d"));
        QCOMPARE(oError.Number(), static_cast<qint32>(0x800407D0));
        QCOMPARE(oError.Number(), -2147219504);
        QCOMPARE(oError.Code(), 2000);
        QCOMPARE(oError.Source(), QStringLiteral("src"));
        QCOMPARE(oError.Description(), QStringLiteral("d"));
    }

    void platformErrorsShowTheirOwnNumber() {
        QCOMPARE(clsError(8005, {}, {}).Code(), 8005);
        QCOMPARE(clsError(53, {}, {}).Code(), 53);
        QCOMPARE(clsError(-1, {}, {}).Code(), -1);
    }

    void whatNamesCodeSourceAndDescription() {
        const clsError oError = clsError::FromCode(2201, QStringLiteral("clsJRT_SRecord.Record"),
                                                   QStringLiteral("Data checksum"));
        QCOMPARE(QByteArray(oError.what()),
                 QByteArray("2201 (clsJRT_SRecord.Record): Data checksum"));
    }
};

QTEST_GUILESS_MAIN(tst_clsError)
#include "tst_clsError.moc"
