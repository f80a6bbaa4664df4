#include "platform/clsCounterStore.h"
#include "tests/support/clsPrivateHome.h"
#include "tests/support/mdlForked.h"
#include "tests/support/mdlRaised.h"
#include "tests/support/mdlTestFiles.h"

#include <QTemporaryDir>
#include <QTest>

#include <limits>

#include <sys/resource.h>

// The counter file of serial numbers: what a board takes, that a file it
// cannot read hands out nothing, and that programs sharing it never take
// the same number.
namespace {

constexpr qint64 lNoLimit = std::numeric_limits<qint64>::max();

} // namespace

class tst_clsCounterStore : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;
    QTemporaryDir oDir;
    const QString sPath = oDir.filePath("serials.json");

    // The code of what taking a number up to lLargest from a file of aText
    // raised, and the file after it.
    QString Refusal(const QByteArray& aText, qint64 lLargest) {
        mdlTestFiles::Write(QDir(), sPath, aText);
        const QString sRaised = mdlRaised::Text([&] { clsCounterStore(sPath).Take(lLargest); });
        return sRaised.left(5) + mdlTestFiles::Read(sPath);
    }

private slots:
    // Up to the largest number the serial number's bytes hold, and every
    // digit of eight of them.
    void takesANumber() {
        mdlTestFiles::Write(QDir(), sPath, "{\"next\":103,\"returned\":[]}");
        QCOMPARE(clsCounterStore(sPath).Start(100), qint64(103));
        QCOMPARE(clsCounterStore(sPath).Take(103), qint64(103));
        QCOMPARE(mdlTestFiles::Read(sPath), "{\"next\":104,\"returned\":[]}\n");
        QCOMPARE(Refusal("{\"next\":256,\"returned\":[]}", 255),
                 "2012 {\"next\":256,\"returned\":[]}");
        mdlTestFiles::Write(QDir(), sPath, "{\"next\":9223372036854775806,\"returned\":[]}");
        QCOMPARE(clsCounterStore(sPath).Take(lNoLimit), qint64(9223372036854775806));
        QCOMPARE(Refusal(mdlTestFiles::Read(sPath), lNoLimit),
                 "2012 {\"next\":9223372036854775807,\"returned\":[]}\n");
    }

    // Before any board comes: a file that can be read but not replaced, on
    // a disk with room for the lock file alone. The file stays as it was.
    void peekRefusesAFileItCannotWrite() {
        QStringList asReturned;
        for (int i = 100; i < 200; ++i) {
            asReturned << QString::number(i);
        }
        const QByteArray aText =
            "{\"next\":500,\"returned\":[" + asReturned.join(',').toLatin1() + "]}";
        mdlTestFiles::Write(QDir(), sPath, aText);
        const QString sPeeked = mdlForked::Run([&] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit oFull{300, 300};
            ::setrlimit(RLIMIT_FSIZE, &oFull);
            return mdlRaised::Text([&] { clsCounterStore(sPath).Peek(lNoLimit); });
        });
        QCOMPARE(sPeeked.left(5), "2012 ");
        QCOMPARE(mdlTestFiles::Read(sPath), aText);
    }

    void refusesADamagedFile_data() {
        QTest::addColumn<QByteArray>("aText");
        QTest::addColumn<QString>("sReason");
        QTest::newRow("a key twice")
            << QByteArray("{\"next\":10,\"returned\":[],\"next\":2}") << "\"next\" is there twice";
        QTest::newRow("a key missing") << QByteArray("{\"next\":10}") << "\"returned\" is missing";
        QTest::newRow("a number past 64 bits")
            << QByteArray("{\"next\":9223372036854775808,\"returned\":[]}")
            << "\"next\" is not a whole number";
        QTest::newRow("a number returned twice")
            << QByteArray("{\"next\":10,\"returned\":[3,3]}") << "holds 3 twice";
        QTest::newRow("a number returned not below next")
            << QByteArray("{\"next\":10,\"returned\":[10]}") << "holds 10, which is not below";
        QTest::newRow("text after the object")
            << QByteArray("{\"next\":10,\"returned\":[]}}") << "at byte 26";
    }
    // With the reason, and the file left for a person to mend.
    void refusesADamagedFile() {
        QFETCH(QByteArray, aText);
        QFETCH(QString, sReason);
        mdlTestFiles::Write(QDir(), sPath, aText);
        const QString sRaised = mdlRaised::Text([&] { clsCounterStore(sPath).Take(lNoLimit); });
        QVERIFY2(sRaised.startsWith("2012 ") && sRaised.contains(sReason), qPrintable(sRaised));
        QCOMPARE(mdlTestFiles::Read(sPath), aText);
    }

    // Written by hand: keys in the other order, spaces and line ends.
    void takesAFileWrittenByHand() {
        mdlTestFiles::Write(QDir(), sPath, "{ \"returned\" : [ 7 ,\t3 ],\r\n  \"next\": 10 }\n");
        QCOMPARE(clsCounterStore(sPath).Take(lNoLimit), qint64(3));
        QCOMPARE(clsCounterStore(sPath).Take(lNoLimit), qint64(7));
    }

    // In words that say so.
    void refusesAFolder() {
        QVERIFY(QDir(oDir.path()).mkpath("folder"));
        QVERIFY(mdlRaised::Text([&] {
                    clsCounterStore(oDir.filePath("folder")).Start(1);
                }).contains("is not a file"));
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
