#include "clsFile.h"
#include "clsFileTable.h"
#include "mdlTestFiles.h"

#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

namespace {

auto& Table() {
    return clsFileTable::Instance();
}

QStringList ReadAllLines(qint16 iNumber) {
    QStringList aLines;
    while (!Table().EndOfFile(iNumber)) {
        aLines << Table().LineInput(iNumber);
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

    QString Write(const QString& sName, const QByteArray& aContent = "x\r\n") {
        return mdlTestFiles::Write(QDir(oDir.path()), sName, aContent);
    }

private slots:
    void lineEnds() {
        const QByteArray aChunk(64 * 1024 - 1, 'x'); // a CR LF split across two reads
        const QByteArray aLong(300'000, 'S');
        const QList<QPair<QByteArray, QStringList>> aRows = {
            {"S1\r\nS9\r\n", {"S1", "S9"}},
            {"S1\nS9", {"S1", "S9"}},
            {"S1\rS9\r", {"S1", "S9"}},
            {"a\r\n\r\nb\n\rc", {"a", "", "b", "", "c"}},
            {"", {}},
            {"\r\n", {""}},
            {QByteArray("a\0b\xE9\n", 5), {QString::fromLatin1("a\0b\xE9", 4)}},
            {aChunk + "\r\ny", {QString::fromLatin1(aChunk), "y"}},
            {aLong + "\r\n", {QString::fromLatin1(aLong)}},
        };
        for (const auto& [aContent, aLines] : aRows) {
            clsFile oFile;
            QCOMPARE(ReadAllLines(oFile.OpenInputRead(Write("lines.txt", aContent))), aLines);
        }
    }

    // Reading past the end or a closed number, opening a missing file, a
    // folder, no path or an open file: errors and zeros, never a crash.
    void misuseIsRefused() {
        clsFile oFile, oMissing, oFolder, oEmpty;
        const qint16 iNumber = oFile.OpenInputRead(Write("one.txt"));
        QCOMPARE(Table().LineInput(iNumber), QStringLiteral("x"));
        QCOMPARE(ErrorNumberOf([&] { Table().LineInput(iNumber); }), 62);
        QCOMPARE(oFile.OpenInputRead(), qint16(0));
        QVERIFY(oFile.CloseFile());
        QCOMPARE(ErrorNumberOf([&] { Table().EndOfFile(iNumber); }), 52);
        QCOMPARE(oFile.OpenInputRead(), iNumber); // the number stays with the object
        QCOMPARE(oEmpty.OpenInputRead(), qint16(0));
        QCOMPARE(oMissing.OpenInputRead(oDir.filePath("absent.s37")), qint16(0));
        QCOMPARE(oMissing.PathName(), oDir.filePath("absent.s37"));
        QCOMPARE(oFolder.OpenInputRead(oDir.path()), qint16(0));
        QVERIFY(!oFolder.FileExists() && oFile.FileExists());
    }

    // A number another object reopened is that object's: the first holder
    // can neither take the file back nor close it, also when it goes.
    void aReusedNumberBelongsToWhoeverOpenedIt() {
        auto oFirst = std::make_unique<clsFile>();
        const qint16 iNumber = oFirst->OpenInputRead(Write("a.txt"));
        QVERIFY(oFirst->CloseFile());
        clsFile oSecond;
        QCOMPARE(oSecond.OpenInputRead(Write("b.txt", "from b\n")), iNumber);
        QCOMPARE(oFirst->OpenInputRead(), qint16(0));
        QVERIFY(oFirst->CloseFile());
        oFirst.reset();
        QCOMPARE(Table().LineInput(iNumber), QStringLiteral("from b"));
        QVERIFY(oSecond.CloseFile());
        QVERIFY(!Table().IsOpen(iNumber));
    }

    void randomAccess() {
        clsFile oFile;
        oFile.SetPathName(QStringLiteral("kept"));
        QCOMPARE(oFile.OpenRandomRead(Write("r.bin"), 40000), qint16(0));
        QCOMPARE(oFile.OpenRandomRead(QString(), 16), qint16(0)); // the argument, not the path
        const qint16 iFirst = oFile.OpenRandomWrite(oDir.filePath("new.bin"), 16);
        QVERIFY(iFirst > 0 && oFile.OpenRandomWrite(oDir.filePath("new.bin"), 16) != iFirst);
        QCOMPARE(ErrorNumberOf([&] { oFile.OpenRandomWrite(oDir.filePath("no/f.bin"), 16); }), 75);
    }
};

QTEST_GUILESS_MAIN(tst_clsFile)
#include "tst_clsFile.moc"
