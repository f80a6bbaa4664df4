#include "tests/support/clsPrivateHome.h"
#include "tests/support/mdlCli.h"
#include "tests/support/mdlRows.h"
#include "tests/support/mdlStops.h"
#include "tests/support/mdlTestFiles.h"
#include "tests/support/mdlUnitFiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QOperatingSystemVersion>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

namespace {

using mdlUnitFiles::aCommands;

struct BadInputRow {
    const char* sName;
    QByteArray aCommands, aRecords;
    QString sFile; // the application file, when not unit.s19 beside unit.cmd
    int iCode;
    QByteArray aDetail;
};

// The box's words, then the detail; PATH stands for the application file.
// clang-format off
const BadInputRow aBadInputs[] = {
    {"2101 restricted", aCommands, "S00600004844521B\r\nS10B3FF80001020304050607A1\r\n", "", 2101,
     "Application & command file do not agree.\nAddress is a restricted byte.\n"
     "Detail: PATH, line 2\n"},
    {"2214 not a number", aCommands, "S1050000ABCG00\r\n", "", 2214,
     "Application file may be corrupt.\nRecord field cannot be read as a number.\n"
     "Detail: PATH, line 1\n"},
    {"2202, the window's unknown error", aCommands, "S4030000FC\r\n", "", 2202,
     "Unknown error in cmdRunStop event handler.\n"
     "Detail: clsJRT_SRecord.RecType: Invalid record type. at PATH, line 1\n"},
    // The system's words for a missing file: ENOENT, the number that Windows
    // gives ERROR_FILE_NOT_FOUND too.
    {"2000 no file", "", "", "absent.s19", 2000,
     "Unable to open application file.\nDetail: PATH: " + qt_error_string(ENOENT).toUtf8() + "\n"},
    // Letters that no one code page holds, as given and as told.
    {"2002 no dot, the name in Cyrillic and Greek", "", "", "Жёлудь-λ", 2002,
     "Unable to determine command file name.\nCheck that the record file name is valid.\n"
     "Detail: PATH: the file's name has no dot, or begins with one\n"},
    {"2002 a folder", "", "", ".", 2002,
     "Unable to determine command file name.\nCheck that the record file name is valid.\n"
     "Detail: PATH: not an ordinary file but a folder\n"},
};
// clang-format on

} // namespace

class tst_tessivarCli : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;
    QTemporaryDir oDir;

    // What ports --json says port iPort stands for; null when none.
    static QJsonValue PortEntry(int iPort) {
        const mdlCli::Outcome oRun = mdlCli::Run({"ports", "--json"});
        for (const QJsonValue& vPort : QJsonDocument::fromJson(oRun.aOut)["ports"].toArray()) {
            if (vPort["number"].toInt() == iPort) {
                return vPort;
            }
        }
        return {};
    }

private slots:
    void inspectDescribesTheUpload() {
        const QString sPath = mdlUnitFiles::Write(QDir(oDir.path()));
        const mdlCli::Outcome oRun = mdlCli::Run({"inspect", "--json", sPath});
        QCOMPARE(oRun.iExitCode, 0);
        QCOMPARE(oRun.aOut.count('\n'), 1);
        QCOMPARE(QJsonDocument::fromJson(oRun.aOut).object(),
                 QJsonDocument::fromJson(
                     QStringLiteral(R"({"target":22,"baud":19200,"fill":255,"erase_order":[2,1],)"
                                    R"("protected":[[0,16383]],"image_size":65536,"records":2,)"
                                    R"("checksum":55,"unrestricted":49152,"line_seconds":%1})")
                         .arg(151 * 10 / 19200.0, 0, 'g', 17)
                         .toUtf8())
                     .object());
        QCOMPARE(oRun.aErr, QByteArray("Application file opened\nCommand file opened\n"
                                       "Target ID: 22\nInitializing memory image . . .\n"
                                       "Memory image initialized\nReading 'S' records\n"
                                       "Flash image created\n"));
        QVERIFY(mdlCli::Run({"inspect", sPath})
                    .aOut.contains("Erase order:        2, 1\nProtected:          "
                                   "0x00000000-0x00003FFF\n"));
    }

    void badInputIsWordedAsTheWindowWordsIt_data() { mdlRows::Add(aBadInputs); }

    // The box text of the window and where it went wrong on standard error;
    // the same as JSON on standard output.
    void badInputIsWordedAsTheWindowWordsIt() {
        QFETCH(BadInputRow, oRow);
        mdlTestFiles::Write(QDir(oDir.path()), "unit.cmd", oRow.aCommands);
        const QString sPath =
            oRow.sFile.isEmpty() ? mdlTestFiles::Write(QDir(oDir.path()), "unit.s19", oRow.aRecords)
                                 : oDir.filePath(oRow.sFile);
        const mdlCli::Outcome oRun = mdlCli::Run({"inspect", "--json", sPath});
        QCOMPARE(oRun.iExitCode, 1);
        const QByteArray aExpected = QByteArray(oRow.aDetail).replace("PATH", sPath.toUtf8());
        QVERIFY2(oRun.aErr.endsWith("Error Number: " + QByteArray::number(oRow.iCode) + "\n" +
                                    aExpected),
                 oRun.aErr.constData());
        // The same words on one line, with the file.
        const QJsonObject oJson = QJsonDocument::fromJson(oRun.aOut).object();
        QCOMPARE(oJson.value("error").toInt(), oRow.iCode);
        QCOMPARE(oJson.value("description").toString(),
                 QString::fromUtf8(aExpected).replace("\n", " ").trimmed());
        QCOMPARE(oJson.value("path").toString(), sPath);
        const qsizetype lLineAt = aExpected.lastIndexOf(", line ");
        QCOMPARE(oJson.value("line").toInt(),
                 lLineAt < 0 ? 0 : aExpected.mid(lLineAt + 7).split('\n').first().toInt());
    }

    // The binding outlives the command, and a missing device stays bound.
    void portsBindAndUnbind() {
        const QString sDevice =
            QOperatingSystemVersion::currentType() == QOperatingSystemVersion::Windows
                ? QStringLiteral("COM29")
                : oDir.filePath("ttyUSB9");
        QCOMPARE(mdlCli::Run({"ports", "--bind", "3", sDevice}).aOut,
                 "COM3 stands for " + sDevice.toUtf8() + "  (not present).\n");
        QCOMPARE(PortEntry(3),
                 QJsonValue(QJsonObject{{"number", 3}, {"device", sDevice}, {"present", false}}));
        QCOMPARE(mdlCli::Run({"ports", "--unbind", "3"}).iExitCode, 0);
        QCOMPARE(PortEntry(3), QJsonValue());
    }

    void stopWhileTheWarningWaits_data() {
        QTest::addColumn<mdlStops::Stop>("oStop");
        for (const mdlStops::Stop& oStop : mdlStops::All()) {
            QTest::newRow(oStop.sName) << oStop;
        }
    }

    // Several ports ask the warning before any port opens; a Stop while it
    // waits for its answer ends the run as stopped.
    void stopWhileTheWarningWaits() {
        QFETCH(mdlStops::Stop, oStop);
        const QString sPath = mdlUnitFiles::Write(QDir(oDir.path()));
        QProcess oCli;
        mdlStops::Prepare(oCli);
        oCli.start(TESSIVAR_CLI, {"upload", "--port", "1", "--port", "2", sPath});
        oCli.setReadChannel(QProcess::StandardError);
        QByteArray aErr;
        mdlCli::ReadUntil(oCli, aErr, "Continue? [y/N] ");
        QVERIFY2(oStop.pSend(oCli), "the system did not send it");
        QCOMPARE(mdlCli::Finish(oCli), 6);
    }

    // Each port's upload reads the image handed over to it, and nothing of
    // it is left behind once the run has ended.
    void handOverLeavesNothingBehind() {
        const QString sPath = mdlUnitFiles::Write(QDir(oDir.path()));
        const QStringList asDevices = {oDir.filePath("absent1"), oDir.filePath("absent2")};
        // The run's temporary folder, where a Windows hand-over lies.
        const QTemporaryDir oTemp;
        const QByteArray aWasTmp = qgetenv("TMP");
        const QByteArray aWasTemp = qgetenv("TEMP");
        qputenv("TMP", QFile::encodeName(oTemp.path()));
        qputenv("TEMP", QFile::encodeName(oTemp.path()));
        const mdlCli::Outcome oRun =
            mdlCli::Run({"upload", "--yes", "--port", asDevices[0], "--port", asDevices[1], sPath});
        qputenv("TMP", aWasTmp);
        qputenv("TEMP", aWasTemp);
        QCOMPARE(oRun.iExitCode, 3);
        QCOMPARE(
            QDir(oTemp.path())
                .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
            QStringList());
    }

    void usageAndExitStatus_data() {
        QTest::addColumn<QStringList>("asArguments");
        QTest::addColumn<QByteArray>("aOutStart"); // none for a usage error
        QTest::addColumn<QByteArray>("aErrStart");
        QTest::newRow("version") << QStringList{"--version"} << QByteArray("tessivar-cli 2.6.0\n")
                                 << QByteArray();
        QTest::newRow("help") << QStringList{"--help"} << QByteArray("usage: tessivar-cli VERB")
                              << QByteArray();
        // The arguments, and the words that say what is wrong with them.
        const QList<std::pair<QStringList, QByteArray>> aMisused = {
            {{"download"}, ""},
            {{"inspect"}, ""},
            {{"inspect", "--yaml", "a.s19"}, ""},
            {{"ports", "--bind", "3"}, "--bind N takes one DEVICE."},
            {{"ports", "--bind", "17", "/dev/ttyS0"}, "--bind takes a port number from 1 to 16."},
            {{"ports", "--bind", "4", "dev/ttyS0"}, "dev/ttyS0 is no DEVICE: give "},
            {{"ports", "--unbind", "3", "--unbind", "4"}, ""},
            {{"upload", "a.s19", "b.s19"}, ""},
            {{"upload", "--pot", "3", "a.s19"}, "unknown option --pot: did you mean --port?"},
            {{"upload", "--port", "3", "--port", "03", "a.s19"},
             "--port 03 names a port already given."},
            {{"upload", "--port", "17", "a.s19"}, ""},
            {{"upload", "--wait", "0", "a.s19"}, ""},
            // Past what milliseconds hold in 32 bits.
            {{"upload", "--wait", "3000000", "a.s19"}, ""},
            // A number the counter could never hand out.
            {{"upload", "--serial", "7000:8:9223372036854775807", "a.s19"}, ""},
        };
        for (const auto& [asArguments, aWhy] : aMisused) {
            QTest::addRow("%s", qPrintable(asArguments.join(' ')))
                << asArguments << QByteArray() << "tessivar-cli: " + aWhy;
        }
    }

    // A usage error exits with 2 and says why and how on standard error alone.
    void usageAndExitStatus() {
        QFETCH(QStringList, asArguments);
        QFETCH(QByteArray, aOutStart);
        QFETCH(QByteArray, aErrStart);
        const mdlCli::Outcome oRun = mdlCli::Run(asArguments);
        QVERIFY2(oRun.aOut.startsWith(aOutStart), oRun.aOut.constData());
        QVERIFY2(oRun.aErr.startsWith(aErrStart), oRun.aErr.constData());
        if (aOutStart.isEmpty()) {
            QCOMPARE(oRun.iExitCode, 2);
            QVERIFY(oRun.aErr.contains("\nusage: tessivar-cli"));
            QVERIFY(oRun.aOut.isEmpty());
        } else {
            QCOMPARE(oRun.iExitCode, 0);
            QCOMPARE(oRun.aErr, QByteArray());
        }
    }
};

QTEST_GUILESS_MAIN(tst_tessivarCli)
#include "tst_tessivarCli.moc"
