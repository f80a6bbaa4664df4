#include "clsFile.h"
#include "clsFileTable.h"
#include "mdlTestFiles.h"

#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>
#include <vector>

namespace {

QStringList ReadAllLines(qint16 iNumber) {
    auto& oTable = clsFileTable::Instance();
    QStringList aLines;
    while (!oTable.EndOfFile(iNumber)) {
        aLines << oTable.LineInput(iNumber);
    }
    return aLines;
}

qint32 ErrorNumberOf(const std::function<void()>& oCall) {
    try {
        oCall();
    } catch (const clsError& oError) {
        return oError.Number();
    }
    return 0;
}

} // namespace

class tst_clsFile : public QObject {
    Q_OBJECT

    QTemporaryDir oDir;

    QString Write(const QString& sName, const QByteArray& aContent) {
        return mdlTestFiles::Write(QDir(oDir.path()), sName, aContent);
    }

private slots:
    void lineEnds_data() {
        QTest::addColumn<QByteArray>("aContent");
        QTest::addColumn<QStringList>("aLines");
        QTest::newRow("CR LF") << QByteArray("S1\r\nS9\r\n") << QStringList{"S1", "S9"};
        QTest::newRow("LF") << QByteArray("S1\nS9\n") << QStringList{"S1", "S9"};
        QTest::newRow("lone CR") << QByteArray("S1\rS9\r") << QStringList{"S1", "S9"};
        QTest::newRow("last line unterminated") << QByteArray("16\nFF") << QStringList{"16", "FF"};
        QTest::newRow("mixed, empty lines")
            << QByteArray("a\r\n\r\nb\n\rc") << QStringList{"a", "", "b", "", "c"};
        QTest::newRow("LF CR is two ends") << QByteArray("a\n\r") << QStringList{"a", ""};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
        QTest::newRow("only a line end") << QByteArray("\r\n") << QStringList{""};
        QTest::newRow("NUL and high bytes kept")
            << QByteArray("a\0b\xE9\n", 5) << QStringList{QString::fromLatin1("a\0b\xE9", 4)};
        const QByteArray aFullChunk(64 * 1024 - 1, 'x');
        QTest::newRow("CR LF across read chunks")
            << aFullChunk + "\r\ny" << QStringList{QString::fromLatin1(aFullChunk), "y"};
        const QByteArray aLong(300'000, 'S');
        QTest::newRow("line longer than a chunk") << aLong + "\r\n"
                                                  << QStringList{QString::fromLatin1(aLong)};
    }

    void lineEnds() {
        QFETCH(QByteArray, aContent);
        QFETCH(QStringList, aLines);
        clsFile oFile;
        oFile.SetPathName(Write(QStringLiteral("lines.txt"), aContent));
        const qint16 iNumber = oFile.OpenInputRead();
        QVERIFY(iNumber > 0);
        QCOMPARE(ReadAllLines(iNumber), aLines);
    }

    void readingPastTheEndOrAClosedNumberIsAnError() {
        clsFile oFile;
        const qint16 iNumber = oFile.OpenInputRead(Write(QStringLiteral("one.txt"), "x\r\n"));
        QCOMPARE(clsFileTable::Instance().LineInput(iNumber), QStringLiteral("x"));
        QCOMPARE(ErrorNumberOf([&] { clsFileTable::Instance().LineInput(iNumber); }), 62);
        QVERIFY(oFile.CloseFile());
        QCOMPARE(ErrorNumberOf([&] { clsFileTable::Instance().LineInput(iNumber); }), 52);
        QCOMPARE(ErrorNumberOf([&] { clsFileTable::Instance().EndOfFile(iNumber); }), 52);
    }

    void openInputReadFailures() {
        clsFile oEmpty;
        QCOMPARE(oEmpty.OpenInputRead(), qint16(0));

        clsFile oMissing;
        const QString sMissing = oDir.filePath(QStringLiteral("absent.s37"));
        QCOMPARE(oMissing.OpenInputRead(sMissing), qint16(0));
        QCOMPARE(oMissing.PathName(), sMissing);

        clsFile oFolder;
        QCOMPARE(oFolder.OpenInputRead(oDir.path()), qint16(0));

        clsFile oTwice;
        QVERIFY(oTwice.OpenInputRead(Write(QStringLiteral("a.txt"), "a")) > 0);
        QCOMPARE(oTwice.OpenInputRead(), qint16(0));
    }

    void aFileKeepsItsNumberAcrossClose() {
        clsFile oFile;
        oFile.SetPathName(Write(QStringLiteral("a.txt"), "a"));
        const qint16 iFirst = oFile.OpenInputRead();
        QVERIFY(iFirst > 0);
        QVERIFY(oFile.CloseFile());
        QCOMPARE(oFile.Number(), iFirst);
        QCOMPARE(oFile.OpenInputRead(), iFirst);
    }

    void aReusedNumberBelongsToWhoeverOpenedIt() {
        const QString sA = Write(QStringLiteral("a.txt"), "from a\n");
        const QString sB = Write(QStringLiteral("b.txt"), "from b\n");
        auto oFirst = std::make_unique<clsFile>();
        const qint16 iNumber = oFirst->OpenInputRead(sA);
        QVERIFY(oFirst->CloseFile());

        clsFile oSecond;
        QCOMPARE(oSecond.OpenInputRead(sB), iNumber);
        // The first object still holds the number but cannot take the file
        // back, close it or, when it goes, take it with it.
        QCOMPARE(oFirst->OpenInputRead(), qint16(0));
        QVERIFY(oFirst->CloseFile());
        oFirst.reset();
        QVERIFY(clsFileTable::Instance().IsOpen(iNumber));
        QCOMPARE(clsFileTable::Instance().LineInput(iNumber), QStringLiteral("from b"));
    }

    void destroyingTheObjectClosesItsFiles() {
        qint16 iNumber = 0;
        {
            clsFile oFile;
            iNumber = oFile.OpenInputRead(Write(QStringLiteral("a.txt"), "a"));
            QVERIFY(clsFileTable::Instance().IsOpen(iNumber));
        }
        QVERIFY(!clsFileTable::Instance().IsOpen(iNumber));
    }

    void closeFileOnANewObject() {
        clsFile oFile;
        QVERIFY(oFile.CloseFile());
        QCOMPARE(oFile.Number(), qint16(0));
    }

    void openRandomRead_data() {
        QTest::addColumn<bool>("bExisting");
        QTest::addColumn<qint32>("lRecordLength");
        QTest::addColumn<bool>("bOpens");
        QTest::newRow("existing, 128") << true << 128 << true;
        QTest::newRow("longest record") << true << 32767 << true;
        QTest::newRow("record of 40000") << true << 40000 << false;
        QTest::newRow("record of 0") << true << 0 << false;
        QTest::newRow("missing file") << false << 128 << false;
    }

    void openRandomRead() {
        QFETCH(bool, bExisting);
        QFETCH(qint32, lRecordLength);
        QFETCH(bool, bOpens);
        const QString sPath = bExisting ? Write(QStringLiteral("r.bin"), "0123")
                                        : oDir.filePath(QStringLiteral("none.bin"));
        clsFile oFile;
        const qint16 iResult = oFile.OpenRandomRead(sPath, lRecordLength);
        QCOMPARE(iResult > 0, bOpens);
        QVERIFY(oFile.Number() > 0);
        QCOMPARE(oFile.PathName(), sPath);
    }

    void openRandomReadOpensItsArgumentNotTheStoredPath() {
        clsFile oFile;
        oFile.SetPathName(Write(QStringLiteral("r.bin"), "0123"));
        QCOMPARE(oFile.OpenRandomRead(QString(), 16), qint16(0));
    }

    void openRandomWriteTakesANewNumberEachTime() {
        clsFile oFile;
        oFile.SetPathName(QStringLiteral("kept"));
        const QString sPath = oDir.filePath(QStringLiteral("new.bin"));
        const qint16 iFirst = oFile.OpenRandomWrite(sPath, 16);
        const qint16 iSecond = oFile.OpenRandomWrite(sPath, 16);
        QVERIFY(iFirst > 0 && iSecond > 0 && iFirst != iSecond);
        QCOMPARE(oFile.PathName(), QStringLiteral("kept"));
        QVERIFY(QFile::exists(sPath));
    }

    void openRandomWriteRaisesItsFailure() {
        clsFile oFile;
        const QString sInMissingFolder = oDir.filePath(QStringLiteral("no/such/dir/f.bin"));
        QCOMPARE(ErrorNumberOf([&] { oFile.OpenRandomWrite(sInMissingFolder, 16); }), 75);
        QCOMPARE(ErrorNumberOf([&] { oFile.OpenRandomWrite(oDir.path(), 40000); }), 59);
    }

    void openInputWriteAppendsAndCreates() {
        const QString sExisting = Write(QStringLiteral("log.txt"), "kept\n");
        clsFile oFile;
        QVERIFY(oFile.OpenInputWrite(sExisting) > 0);
        QVERIFY(oFile.CloseFile());
        QCOMPARE(mdlTestFiles::Read(sExisting), QByteArray("kept\n"));

        clsFile oNew;
        const QString sNew = oDir.filePath(QStringLiteral("created.txt"));
        QVERIFY(oNew.OpenInputWrite(sNew) > 0);
        QVERIFY(QFile::exists(sNew));
    }

    void fileExists() {
        clsFile oFile;
        QVERIFY(!oFile.FileExists());
        oFile.SetPathName(Write(QStringLiteral("e.txt"), "e"));
        QVERIFY(oFile.FileExists());
        oFile.SetPathName(oDir.path());
        QVERIFY(!oFile.FileExists());
    }

    void aFullTableRefusesMoreFiles() {
        const QString sPath = Write(QStringLiteral("many.txt"), "m");
        std::vector<std::unique_ptr<clsFile>> aFiles;
        while (aFiles.size() < clsFileTable::iLastNumber) {
            aFiles.push_back(std::make_unique<clsFile>());
            if (aFiles.back()->OpenInputRead(sPath) == 0) {
                break;
            }
        }
        QCOMPARE(aFiles.back()->Number(), clsFileTable::iLastNumber);
        clsFile oOneTooMany;
        QCOMPARE(oOneTooMany.OpenInputRead(sPath), qint16(0));
        QCOMPARE(ErrorNumberOf([&] { oOneTooMany.OpenRandomWrite(sPath, 1); }), 67);
    }
};

QTEST_GUILESS_MAIN(tst_clsFile)
#include "tst_clsFile.moc"
