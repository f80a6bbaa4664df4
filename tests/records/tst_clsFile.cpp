#include "records/clsFile.h"
#include "records/clsFileTable.h"
#include "tests/support/mdlRaised.h"
#include "tests/support/mdlTestFiles.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using mdlRaised::Text;

class tst_clsFile : public QObject {
    Q_OBJECT

    QTemporaryDir oDir;

    QString Write(const QString& sName, const QByteArray& aContent = "x\r\n") {
        return mdlTestFiles::Write(QDir(oDir.path()), sName, aContent);
    }

private slots:
    // Lines as read, and "error N" for what stopped the reading.
    void lineEnds_data() {
        QTest::addColumn<QByteArray>("aContent");
        QTest::addColumn<QStringList>("asLines");
        QByteArray aSplit; // lines of 1,000 and then a CR on the last byte of a 64 KiB read
        while (aSplit.size() < 64 * 1024 - 1000) {
            aSplit += QByteArray(1000, 'x') + "\r\n";
        }
        aSplit += QByteArray(64 * 1024 - 1 - aSplit.size(), 'y') + "\r\nz";
        const QByteArray aLongest(1024, 'S');
        QTest::newRow("lone CR") << QByteArray("S1\rS9\r") << QStringList{"S1", "S9"};
        QTest::newRow("LF CR is two line ends")
            << QByteArray("a\r\n\r\nb\n\rc") << QStringList{"a", "", "b", "", "c"};
        QTest::newRow("empty file") << QByteArray() << QStringList();
        QTest::newRow("one empty line") << QByteArray("\r\n") << QStringList{""};
        QTest::newRow("CR LF split across two reads")
            << aSplit << QString::fromLatin1(aSplit).split("\r\n");
        QTest::newRow("1,024 characters") << aLongest + "\n" << QStringList{aLongest};
        QTest::newRow("1,025 characters") << "a\n" + aLongest + "S\n"
                                          << QStringList{"a", "error 1024"};
    }

    void lineEnds() {
        QFETCH(QByteArray, aContent);
        QFETCH(QStringList, asLines);
        clsFile oFile;
        QVERIFY(oFile.OpenInputRead(Write("lines.txt", aContent)) > 0);
        QStringList asRead;
        try {
            while (!oFile.EndOfFile()) {
                asRead << oFile.LineInput();
            }
        } catch (const clsError& oError) {
            asRead << "error " + QString::number(oError.Number());
        }
        QCOMPARE(asRead, asLines);
    }

    // A file written anew while it is read, as a rebuild in place does:
    // the lines after the first read must not pass for the same file's,
    // also where the new one is as long as the old.
    void rewrittenWhileReadIsAnError_data() {
        QTest::addColumn<int>("iNewLines");
        QTest::newRow("longer") << 1001;
        QTest::newRow("as long, written later") << 1000;
    }

    void rewrittenWhileReadIsAnError() {
        QFETCH(int, iNewLines);
        const QByteArray aLine = QByteArray(99, 'a') + '\n';
        const QString sPath = Write("build.s19", aLine.repeated(1000));
        clsFile oFile;
        oFile.OpenInputRead(sPath);
        QCOMPARE(oFile.LineInput(), aLine.chopped(1));
        Write("build.s19", QByteArray(aLine).replace('a', 'b').repeated(iNewLines));
        // A clock that ticks coarser than two writes would show them as one.
        QFile oRewritten(sPath);
        QVERIFY(oRewritten.open(QIODevice::ReadWrite) &&
                oRewritten.setFileTime(QDateTime::currentDateTime().addSecs(2),
                                       QFileDevice::FileModificationTime));
        oRewritten.close();
        QVERIFY(Text([&] {
                    while (!oFile.EndOfFile()) {
                        oFile.LineInput();
                    }
                }).startsWith("57 "));
    }

    // Reading past the end or a closed number, or opening an open file:
    // errors and zeros, never a crash. A number another object reopened is
    // that object's: the first holder can neither take the file back nor
    // close it, also when it goes.
    void misuseIsRefused() {
        auto oFirst = std::make_unique<clsFile>();
        const qint16 iNumber = oFirst->OpenInputRead(Write("one.txt"));
        QCOMPARE(oFirst->LineInput(), QStringLiteral("x"));
        QVERIFY(Text([&] { oFirst->LineInput(); }).startsWith("62 "));
        QCOMPARE(oFirst->OpenInputRead(), qint16(0));
        QVERIFY(oFirst->CloseFile());
        QVERIFY(Text([&] { oFirst->EndOfFile(); }).startsWith("52 "));
        QCOMPARE(oFirst->OpenInputRead(), iNumber); // the number stays with the object
        QVERIFY(oFirst->CloseFile());
        clsFile oSecond;
        QCOMPARE(oSecond.OpenInputRead(Write("b.txt", "from b\n")), iNumber);
        QCOMPARE(oFirst->OpenInputRead(), qint16(0));
        QVERIFY(!oFirst->CloseFile());
        oFirst.reset();
        QCOMPARE(oSecond.LineInput(), QStringLiteral("from b"));
        QVERIFY(oSecond.CloseFile());
        QVERIFY(!clsFileTable::Instance().IsOpen(iNumber));
    }

    // A record length beyond 32767 is refused; a write open takes a fresh
    // number each time and leaves the path as it was, which exists; a
    // folder does not exist as a file.
    void randomAccess() {
        clsFile oFile;
        const QString sPath = Write("random.dat");
        QCOMPARE(oFile.OpenRandomRead(sPath, 40000), qint16(0));
        const qint16 iFirst = oFile.OpenRandomWrite(oDir.filePath("a.dat"), 16);
        QVERIFY(iFirst > 0 && oFile.OpenRandomWrite(oDir.filePath("b.dat"), 16) != iFirst);
        QCOMPARE(oFile.PathName(), sPath);
        clsFile oFolder;
        QCOMPARE(oFolder.OpenInputRead(oDir.path()), qint16(0));
        QVERIFY(oFile.FileExists() && !oFolder.FileExists());
    }
};

QTEST_GUILESS_MAIN(tst_clsFile)
#include "tst_clsFile.moc"
