#include "mdlTestFiles.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Outcome {
    int iExitCode;
    QByteArray aOut, aErr;
};

Outcome RunCli(const QStringList& asArguments) {
    QProcess oCli;
    oCli.start(QStringLiteral(TESSIVAR_CLI), asArguments);
    if (!oCli.waitForFinished(60'000)) {
        qFatal("tessivar-cli did not finish");
    }
    return {oCli.exitCode(), oCli.readAllStandardOutput(), oCli.readAllStandardError()};
}

// Records of eight bytes at 0x4000 and 0x8000; the one between them holds
// only the fill value and is never sent.
const QByteArray aRecords = "S00600004844521B\r\nS10B4000000102030405060798\r\n"
                            "S10B6000FFFFFFFFFFFFFFFF9C\r\nS10B80001011121314151617D8\r\n"
                            "S9030000FC\r\n";
const QByteArray aCommands = "16\r\nFF\r\n0,0,3FFF,R\r\n1,4000,7FFF,E\r\n2,8000,FFFF,E\r\n";

} // namespace

class tst_tessivarCli : public QObject {
    Q_OBJECT

    QTemporaryDir oDir;

    QString WriteUnit(const QByteArray& aCmd, const QByteArray& aSrec) {
        mdlTestFiles::Write(QDir(oDir.path()), "unit.cmd", aCmd);
        return mdlTestFiles::Write(QDir(oDir.path()), "unit.s19", aSrec);
    }

private slots:
    void inspectDescribesTheUpload() {
        const Outcome oRun = RunCli({"inspect", "--json", WriteUnit(aCommands, aRecords)});
        QCOMPARE(oRun.iExitCode, 0);
        // 0xFF over the unrestricted cells but the sixteen data bytes; on the
        // line, erase commands and records with their 0x00 and a 14-character
        // reply each, then "S9030000FC" and its 0x00, at 10 bits a byte.
        int iSum = (0xC000 - 16) * 0xFF;
        for (int i = 0; i < 8; ++i) {
            iSum += i + 0x10 + i;
        }
        const double dSeconds = (2 * (14 + 1 + 14) + 2 * (26 + 1 + 14) + 11) * 10 / 19200.0;
        QCOMPARE(oRun.aOut.count('\n'), 1);
        QJsonObject oGot = QJsonDocument::fromJson(oRun.aOut).object();
        QCOMPARE(oGot.take("line_seconds").toDouble(), dSeconds);
        QCOMPARE(oGot, QJsonDocument::fromJson(
                           QStringLiteral(R"({"target":22,"baud":19200,"fill":255,"erase_order":)"
                                          R"([2,1],"protected":[[0,16383]],"image_size":65536,)"
                                          R"("records":2,"checksum":%1,"unrestricted":49152})")
                               .arg(255 - iSum % 256)
                               .toUtf8())
                           .object());
        QCOMPARE(oRun.aErr, QByteArray("Application file opened\nCommand file opened\n"
                                       "Target ID: 22\nInitializing memory image . . .\n"
                                       "Memory image initialized\nReading 'S' records\n"
                                       "Flash image created\n"));
        QVERIFY(RunCli({"inspect", WriteUnit(aCommands, aRecords)})
                    .aOut.contains("Erase order:        2, 1\nProtected:          "
                                   "0x00000000-0x00003FFF\n"));
    }

    // The box text of the window on standard error; code and description
    // as JSON on standard output.
    void badInputIsWordedAsTheWindowWouldWordIt() {
        const QByteArray aCorrupt = "Application file may be corrupt.\n";
        const QList<std::tuple<QByteArray, QByteArray, int, QByteArray>> aRows = {
            {aCommands, "S10B4000000102030405060799\r\n", 2201,
             aCorrupt + "Line in application file has a checksum error.\n"},
            {aCommands, "S10B3FF80001020304050607A1\r\n", 2101,
             "Application & command file do not agree.\nAddress is a restricted byte.\n"},
            {aCommands, aRecords + aRecords, 2102,
             "Address has already been written to.\n" + aCorrupt},
            {aCommands, "S9030000FC\r\n\r\n", 2200,
             aCorrupt + "Line in application file is not an 'S' record.\n"},
            {"zz\r\n", aRecords, 2003, "Unable to determine expected target ID.\n"},
        };
        for (const auto& [aCmd, aSrec, iCode, aDetail] : aRows) {
            const Outcome oRun = RunCli({"inspect", "--json", WriteUnit(aCmd, aSrec)});
            QCOMPARE(oRun.iExitCode, 1);
            QVERIFY2(
                oRun.aErr.endsWith("Error Number: " + QByteArray::number(iCode) + "\n" + aDetail),
                oRun.aErr.constData());
            QCOMPARE(QJsonDocument::fromJson(oRun.aOut).object().value("error").toInt(), iCode);
        }
        const Outcome oMissing = RunCli({"inspect", oDir.filePath("absent.s19")});
        QVERIFY(oMissing.aErr.endsWith("Error Number: 2000\nUnable to open application file.\n"));
        const Outcome oNoDot = RunCli({"inspect", "--json", oDir.filePath("nodot")});
        QCOMPARE(oNoDot.aOut, QByteArray("{\"description\":\"\",\"error\":2002}\n"));
    }

    void wrongUsageExitsWithTwo() {
        for (const QStringList& asArguments : QList<QStringList>{{},
                                                                 {"upload"},
                                                                 {"inspect"},
                                                                 {"inspect", "a.s19", "b.s19"},
                                                                 {"inspect", "--yaml", "a.s19"}}) {
            const Outcome oRun = RunCli(asArguments);
            QCOMPARE(oRun.iExitCode, 2);
            QVERIFY(oRun.aErr.startsWith("usage: tessivar-cli") && oRun.aOut.isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(tst_tessivarCli)
#include "tst_tessivarCli.moc"
