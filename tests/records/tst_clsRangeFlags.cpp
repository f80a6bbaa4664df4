#include "records/clsRangeFlags.h"

#include <QRandomGenerator>
#include <QTest>

#include <vector>

class tst_clsRangeFlags : public QObject {
    Q_OBJECT

private slots:
    void paintsAsRangeByRangeWould_data() {
        QTest::addColumn<int>("iWidest");
        QTest::newRow("narrow ranges, many within a word") << 70;
        QTest::newRow("ranges across many words") << 3000;
        QTest::newRow("ranges up to the whole") << 20000;
    }

    // Random ranges set and cleared, read now and then: the flags are those
    // of a plain array written range by range, in order.
    void paintsAsRangeByRangeWould() {
        QFETCH(int, iWidest);
        constexpr qint32 lCount = 20000;
        QRandomGenerator oRandom(iWidest);
        clsRangeFlags aFlags(lCount);
        std::vector<bool> abModel(lCount);
        for (int i = 0; i < 3000; ++i) {
            const qint32 lFirst = oRandom.bounded(lCount);
            const qint32 lEnd = std::min(lCount, lFirst + oRandom.bounded(iWidest + 1));
            const bool bValue = oRandom.bounded(2) == 1;
            aFlags.SetRange(lFirst, lEnd, bValue);
            std::fill(abModel.begin() + lFirst, abModel.begin() + lEnd, bValue);
            if (i % 500 == 499) {
                for (qint32 lIndex = 0; lIndex < lCount; ++lIndex) {
                    QVERIFY2(aFlags.Flags().Test(lIndex) == abModel[lIndex],
                             qPrintable(QString::number(lIndex)));
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(tst_clsRangeFlags)
#include "tst_clsRangeFlags.moc"
