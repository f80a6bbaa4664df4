#include "mdlTestFiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Outcome {
    int iExitCode;
    QByteArray aOut;
    QByteArray aErr;
};

Outcome RunCli(const QStringList& asArguments) {
    QProcess oCli;
    oCli.start(QStringLiteral(TESSIVAR_CLI), asArguments);
    if (!oCli.waitForFinished(60'000) || oCli.exitStatus() != QProcess::NormalExit) {
        qFatal("tessivar-cli did not finish");
    }
    return {oCli.exitCode(), oCli.readAllStandardOutput(), oCli.readAllStandardError()};
}

// Two records of eight data bytes, at 0x4000 and 0x8000; a blank record
// (only the fill value) in between is never sent.
const QByteArray aRecords = "S00600004844521B\r\n"
                            "S10B4000000102030405060798\r\n"
                            "S10B6000FFFFFFFFFFFFFFFF9C\r\n"
                            "S10B80001011121314151617D8\r\n"
                            "S9030000FC\r\n";
const QByteArray aCommands = "16\r\nFF\r\n0,0,3FFF,R\r\n1,4000,7FFF,E\r\n2,8000,FFFF,E\r\n";

} // namespace

class tst_tessivarCli : public QObject {
    Q_OBJECT

    QTemporaryDir oDir;

    QString WriteUnit(const QByteArray& aCmd, const QByteArray& aSrec) {
        mdlTestFiles::Write(QDir(oDir.path()), QStringLiteral("unit.cmd"), aCmd);
        return mdlTestFiles::Write(QDir(oDir.path()), QStringLiteral("unit.s19"), aSrec);
    }

private slots:
    void inspectJsonDescribesTheUpload() {
        const Outcome oRun = RunCli({"inspect", "--json", WriteUnit(aCommands, aRecords)});
        QCOMPARE(oRun.iExitCode, 0);
        QCOMPARE(oRun.aOut.count('\n'), 1);
        const QJsonObject oSummary = QJsonDocument::fromJson(oRun.aOut).object();
        QCOMPARE(oSummary.value("target").toInt(), 22);
        QCOMPARE(oSummary.value("baud").toInt(), 19200);
        QCOMPARE(oSummary.value("fill").toInt(), 0xFF);
        QCOMPARE(oSummary.value("erase_order").toArray(), (QJsonArray{2, 1}));
        QCOMPARE(oSummary.value("protected").toArray(), (QJsonArray{QJsonArray{0, 0x3FFF}}));
        QCOMPARE(oSummary.value("image_size").toInt(), 65536);
        QCOMPARE(oSummary.value("records").toInt(), 2);
        QCOMPARE(oSummary.value("unrestricted").toInt(), 65536 - 0x4000);
        // 0xFF over every unrestricted cell but the sixteen data bytes.
        int iSum = (65536 - 0x4000 - 16) * 0xFF;
        for (int i = 0; i < 8; ++i) {
            iSum += i + 0x10 + i;
        }
        QCOMPARE(oSummary.value("checksum").toInt(), 255 - iSum % 256);
        // Erase commands and records with their 0x00 and a 14-character
        // reply each, then "S9030000FC" and its 0x00, at 10 bits a byte.
        const double dBytes = 2 * (14 + 1 + 14) + 2 * (26 + 1 + 14) + 11;
        QCOMPARE(oSummary.value("line_seconds").toDouble(), dBytes * 10 / 19200);
        QCOMPARE(oRun.aErr, QByteArray("Application file opened\nCommand file opened\n"
                                       "Target ID: 22\nInitializing memory image . . .\n"
                                       "Memory image initialized\nReading 'S' records\n"
                                       "Flash image created\n"));
    }

    void inspectTextNamesTheFigures() {
        const Outcome oRun = RunCli({"inspect", WriteUnit(aCommands, aRecords)});
        QCOMPARE(oRun.iExitCode, 0);
        QVERIFY(oRun.aOut.contains("Erase order:        2, 1\n"));
        QVERIFY(oRun.aOut.contains("Protected:          0x00000000-0x00003FFF\n"));
        QVERIFY(oRun.aOut.contains("Records to send:    2\n"));
    }

    void badInputIsWordedAsTheWindowWouldWordIt_data() {
        QTest::addColumn<QByteArray>("aCmd");
        QTest::addColumn<QByteArray>("aSrec");
        QTest::addColumn<int>("iCode");
        QTest::addColumn<QByteArray>("aBox");
        QTest::newRow("checksum") << aCommands << QByteArray("S10B4000000102030405060799\r\n")
                                  << 2201
                                  << QByteArray("Error Number: 2201\nApplication file may be "
                                                "corrupt.\nLine in application file has a "
                                                "checksum error.\n");
        QTest::newRow("protected byte")
            << aCommands << QByteArray("S10B3FF80001020304050607A1\r\n") << 2101
            << QByteArray("Error Number: 2101\nApplication & command file do not agree.\n"
                          "Address is a restricted byte.\n");
        QTest::newRow("no target") << QByteArray("zz\r\n") << aRecords << 2003
                                   << QByteArray("Error Number: 2003\nUnable to determine "
                                                 "expected target ID.\n");
    }

    void badInputIsWordedAsTheWindowWouldWordIt() {
        QFETCH(QByteArray, aCmd);
        QFETCH(QByteArray, aSrec);
        QFETCH(int, iCode);
        QFETCH(QByteArray, aBox);
        const Outcome oRun = RunCli({"inspect", "--json", WriteUnit(aCmd, aSrec)});
        QCOMPARE(oRun.iExitCode, 1);
        QVERIFY2(oRun.aErr.endsWith(aBox), oRun.aErr.constData());
        const QJsonObject oError = QJsonDocument::fromJson(oRun.aOut).object();
        QCOMPARE(oError.value("error").toInt(), iCode);
        QVERIFY(!oError.value("description").toString().isEmpty());
    }

    void missingFilesAndUnusableNames() {
        const Outcome oMissing = RunCli({"inspect", oDir.filePath("absent.s19")});
        QCOMPARE(oMissing.iExitCode, 1);
        QVERIFY(oMissing.aErr.endsWith("Error Number: 2000\nUnable to open application file.\n"));
        const Outcome oNoDot = RunCli({"inspect", "--json", oDir.filePath("nodot")});
        QCOMPARE(oNoDot.iExitCode, 1);
        QCOMPARE(oNoDot.aOut, QByteArray("{\"description\":\"\",\"error\":2002}\n"));
    }

    void wrongUsage_data() {
        QTest::addColumn<QStringList>("asArguments");
        QTest::newRow("nothing") << QStringList{};
        QTest::newRow("unknown verb") << QStringList{"upload"};
        QTest::newRow("no file") << QStringList{"inspect"};
        QTest::newRow("two files") << QStringList{"inspect", "a.s19", "b.s19"};
        QTest::newRow("unknown option") << QStringList{"inspect", "--yaml", "a.s19"};
    }

    void wrongUsage() {
        QFETCH(QStringList, asArguments);
        const Outcome oRun = RunCli(asArguments);
        QCOMPARE(oRun.iExitCode, 2);
        QVERIFY(oRun.aErr.startsWith("usage: tessivar-cli"));
        QVERIFY(oRun.aOut.isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_tessivarCli)
#include "tst_tessivarCli.moc"
