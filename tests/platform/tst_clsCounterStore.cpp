#include "platform/clsCounterStore.h"
#include "tests/support/clsPrivateHome.h"
#include "tests/support/mdlForked.h"
#include "tests/support/mdlRows.h"
#include "tests/support/mdlTestFiles.h"

#include <QTemporaryDir>
#include <QTest>

#include <limits>
#include <optional>

// The counter file of serial numbers: what a board takes, that a file it
// cannot read hands out nothing, and that programs sharing it never take
// the same number.
namespace {

constexpr qint64 lNoLimit = std::numeric_limits<qint64>::max();

struct TakeRow {
    const char* sName;
    const char* sBefore; // the file's text
    std::optional<qint64> oFirst;
    qint64 lLargest;
    std::optional<qint64> oTaken; // none: Take raises 2012
    const char* sAfter;
};

// clang-format off
const TakeRow aTakes[] = {
    {"a counter past the first number goes on to the largest", "{\"next\":103,\"returned\":[]}",
     100, 103, 103, "{\"next\":104,\"returned\":[]}\n"},
    {"the counter has run out", "{\"next\":256,\"returned\":[]}", {}, 255, {},
     "{\"next\":256,\"returned\":[]}"},
    {"not JSON", "{\"next\":", {}, lNoLimit, {}, "{\"next\":"},
    {"eight bytes' numbers kept to the last digit", "{\"next\":9223372036854775806,\"returned\":[]}",
     {}, lNoLimit, 9223372036854775806, "{\"next\":9223372036854775807,\"returned\":[]}\n"},
    {"a counter at the largest 64-bit number has run out",
     "{\"next\":9223372036854775807,\"returned\":[]}", {}, lNoLimit, {},
     "{\"next\":9223372036854775807,\"returned\":[]}"},
};
// clang-format on

} // namespace

Q_DECLARE_METATYPE(TakeRow)

class tst_clsCounterStore : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;
    QTemporaryDir oDir;
    const QString sPath = oDir.filePath("serials.json");

private slots:
    void takesANumber_data() { mdlRows::Add(aTakes); }

    void takesANumber() {
        QFETCH(TakeRow, oRow);
        mdlTestFiles::Write(QDir(), sPath, oRow.sBefore);
        clsCounterStore oStore(sPath);
        std::optional<qint64> oTaken;
        try {
            if (oRow.oFirst) {
                oStore.Start(*oRow.oFirst);
            }
            oTaken = oStore.Take(oRow.lLargest);
        } catch (const clsError& oError) {
            QCOMPARE(oError.Code(), clsCounterStore::Unusable);
        }
        QCOMPARE(oTaken, oRow.oTaken);
        QCOMPARE(mdlTestFiles::Read(sPath), oRow.sAfter);
    }

    // One of them reaches it through a link.
    void programsSharingTheFileNeverTakeOneNumberTwice() {
        constexpr int iEach = 60;
        mdlTestFiles::Write(QDir(), sPath, "{\"next\":1,\"returned\":[]}");
        QVERIFY(QFile::link(sPath, oDir.filePath("link.json")));
        const auto oTake = [&](const QString& sName) {
            clsCounterStore oStore(oDir.filePath(sName));
            QString sTaken;
            for (int i = 0; i < iEach; ++i) {
                sTaken += QString::number(oStore.Take(lNoLimit)) + QLatin1Char(' ');
            }
            return sTaken;
        };
        const mdlForked::Child oA = mdlForked::Start([&] { return oTake("serials.json"); });
        const mdlForked::Child oB = mdlForked::Start([&] { return oTake("link.json"); });
        const QStringList asTaken =
            (mdlForked::Finish(oA) + mdlForked::Finish(oB)).split(' ', Qt::SkipEmptyParts);
        QCOMPARE(QSet<QString>(asTaken.cbegin(), asTaken.cend()).size(), 2 * iEach);
        QCOMPARE(clsCounterStore(sPath).Peek(lNoLimit), qint64(2 * iEach + 1));
    }
};

QTEST_GUILESS_MAIN(tst_clsCounterStore)
#include "tst_clsCounterStore.moc"
