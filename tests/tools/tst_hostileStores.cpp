#include "tests/support/clsPrivateHome.h"
#include "tests/support/clsPseudoTerminal.h"
#include "tests/support/mdlCli.h"
#include "tests/support/mdlRows.h"
#include "tests/support/mdlTestFiles.h"
#include "tests/support/mdlUnitFiles.h"

#include <QTemporaryDir>

#include <array>
#include <csignal>
#include <sys/stat.h>

// The files the program keeps across runs (settings, ledger, serial number
// counter, the hand-over between ports) damaged or put in the way by
// someone hostile: each is refused in words that say what is wrong, or
// handled, without a hang, a balloon or a number handed out twice.
namespace {

// Sets up the row's files below sHome (its settings in config/, its data
// in data/) and runs tessivar-cli.
using Runner = std::function<mdlCli::Outcome(const QString& sHome)>;

const QString sSettings = QStringLiteral("config/Quellis/Tessivar.ini");
const QString sLedger = QStringLiteral("data/Quellis/Tessivar/uploads.jsonl");

// A line of the ledger too long for an entry, though whole JSON.
const QByteArray aLongLine = "{\"file\":\"" + QByteArray(70'000, 'a') + "\"}\n";
const QByteArray aShortLine = "{\"file\":\"b.s19\"}\n";

// tessivar-cli with asArguments, in which escapes such as \351 become
// bytes that no text can carry: the shell passes them on, a QString cannot.
mdlCli::Outcome RunWithBytes(const QStringList& asArguments) {
    return mdlCli::RunProgram(
        "/bin/sh",
        QStringList{"-c",
                    R"sh(for a; do set -- "$@" "$(printf %b "$a")"; shift; done; exec "$0" "$@")sh",
                    TESSIVAR_CLI} +
            asArguments);
}

// The settings file with aValues in the key of the ports, as a person may
// write them; its path.
QString Settings(const QString& sHome, const QByteArray& aValues) {
    return mdlTestFiles::Write(QDir(sHome), sSettings,
                               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quellis\\Tessivar\\2.6.0\\Comms]\n" +
                                   aValues);
}

// An upload of the unit files with asOptions.
mdlCli::Outcome Upload(const QString& sHome, const QStringList& asOptions) {
    return mdlCli::Run(QStringList{"upload", "--yes"} + asOptions +
                       QStringList{mdlUnitFiles::Write(QDir(sHome))});
}

struct HostileRow {
    const char* sName;
    Runner oRun;
    int iExit;
    QByteArray aSaid; // on standard error, or on standard output when bOut
    bool bOut = false;
};

// clang-format off
const HostileRow aRows[] = {
    // The ledger's path names no ordinary file.
    {"ledger a FIFO",
     [](const QString& sHome) {
         QDir(sHome).mkpath(QFileInfo(sLedger).path());
         ::mkfifo(QFile::encodeName(sHome + '/' + sLedger).constData(), 0600);
         return mdlCli::Run({"ledger", "--json"});
     },
     1, "uploads.jsonl could not be read: not an ordinary file but a FIFO"},

    // A large ledger.
    {"ledger line over 64 KiB",
     [](const QString& sHome) {
         mdlTestFiles::Write(QDir(sHome), sLedger, aLongLine + aShortLine);
         return mdlCli::Run({"ledger"});
     },
     0, "tessivar-cli: line 1 of "},
    {"ledger line over 64 KiB, last 1",
     [](const QString& sHome) {
         mdlTestFiles::Write(QDir(sHome), sLedger, aShortLine + aLongLine);
         return mdlCli::Run({"ledger", "--last", "1"});
     },
     0, "b.s19", true},

    // A full disk under the ledger at the end of an upload to a port that
    // stands for no device. A file size limit signals the program, which
    // takes it for a failed write only where the signal is ignored.
    {"ledger on a full disk",
     [](const QString& sHome) {
         const QByteArray aBefore = QByteArray(2000, 'x') + '\n';
         mdlTestFiles::Write(QDir(sHome), sLedger, aBefore);
         const mdlCli::Outcome oRun = mdlCli::RunProgram(
             "sh", {"-c", "trap '' XFSZ; exec \"$@\"", "sh", "prlimit", "--fsize=2500",
                    TESSIVAR_CLI, "upload", "--yes", "--port", sHome + "/no-device",
                    mdlUnitFiles::Write(QDir(sHome))});
         return mdlTestFiles::Read(sHome + "/" + sLedger) == aBefore
                    ? oRun
                    : mdlCli::Outcome{-3, {}, "the ledger changed"};
     },
     3, " bytes written): this upload's entry is not in it"},

    // A settings file that cannot be written, as nobody where root runs the
    // tests: root writes any file.
    {"settings read-only: binding refused",
     [](const QString& sHome) {
         const QStringList asBind = {"ports", "--bind", "3", "/dev/x"};
         ::chmod(QFile::encodeName(Settings(sHome, "COM2=\"/dev/tessivar-absent\"\n")).constData(),
                 0444);
         if (::geteuid() != 0) {
             return mdlCli::Run(asBind);
         }
         ::chmod(QFile::encodeName(sHome).constData(), 0755);
         return mdlCli::RunProgram("setpriv", QStringList{"--reuid=nobody", "--regid=nogroup",
                                                          "--clear-groups", TESSIVAR_CLI} + asBind);
     },
     1, "could not be written"},

    // Paths that are not valid UTF-8.
    {"serial store not valid UTF-8",
     [](const QString& sHome) {
         return RunWithBytes({"upload", "--serial", "7000:2:1", "--serial-store",
                              sHome + "/caf\\351.json", mdlUnitFiles::Write(QDir(sHome))});
     },
     1, "The path is not valid UTF-8: "},
    {"port device not valid UTF-8 in the option's argument",
     [](const QString& sHome) {
         return RunWithBytes(
             {"upload", "--port=" + sHome + "/tty\\351", mdlUnitFiles::Write(QDir(sHome))});
     },
     1, "The path is not valid UTF-8: /"},

    // Words that mislead.
    {"port /dev/null while no port is chosen",
     [](const QString& sHome) {
         Settings(sHome, "PortNumber=0\n");
         return Upload(sHome, {"--port", "/dev/null"});
     },
     3, "Error Number: 8015\n/dev/null is not a serial device."},
    {"no port chosen",
     [](const QString& sHome) {
         Settings(sHome, "PortNumber=0\n");
         return Upload(sHome, {});
     },
     3, "Error Number: 2004\nNo port is chosen. Give one with --port"},
    {"inspect path of 100 kB",
     [](const QString& sHome) {
         return mdlCli::Run({"inspect", sHome + "/" + QString(100'000, 'a')});
     },
     1, "characters more: the name is too long"},

    // Control characters from stored or outside data.
    {"ports device with a format character in the settings file",
     [](const QString& sHome) {
         Settings(sHome, "COM3=\"/dev/ttyQ\u202EX\"\n");
         return mdlCli::Run({"ports"});
     },
     0, "COM3  /dev/ttyQ\\u202eX", true},
    {"inspect path with an escape sequence",
     [](const QString& sHome) { return mdlCli::Run({"inspect", sHome + "/\x1B]0;owned\x07.s19"}); },
     1, "/\\x1b]0;owned\\x07.s19: "},

    // The hand-over between the ports of a several-port run.
    {"hand-over larger than any image",
     [](const QString& sHome) {
         QFile(mdlTestFiles::Write(QDir(sHome), "image", {})).resize(1LL << 30);
         return Upload(sHome, {"--prepared", sHome + "/image", "--port", "1"});
     },
     1, "/image holds no prepared image: larger than "},

};

// clang-format on

} // namespace

class tst_hostileStores : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;

private slots:
    void init() {
        QDir(oHome.Path()).removeRecursively();
        QDir().mkpath(oHome.Path());
    }

    void refusedOrHandled_data() { mdlRows::Add(aRows); }

    void refusedOrHandled() {
        QFETCH(HostileRow, oRow);
        const mdlCli::Outcome oRun = oRow.oRun(oHome.Path());
        const QByteArray& aShown = oRow.bOut ? oRun.aOut : oRun.aErr;
        QVERIFY2(aShown.contains(oRow.aSaid), (oRun.aOut + oRun.aErr).left(2000).constData());
        QCOMPARE(oRun.iExitCode, oRow.iExit);
        QVERIFY(!oRun.aOut.contains('\x1B') && !oRun.aErr.contains('\x1B'));
    }

    // A kill -9 of the several-port command while its boards are awaited
    // leaves nothing in the temporary folder, and the ports' uploads it
    // started end, each adding its line.
    void nothingLeftAfterAKill() {
        const QTemporaryDir oTemp;
        const std::array<clsPseudoTerminal, 2> aLines;
        QProcess oCli;
        QProcessEnvironment oEnvironment = QProcessEnvironment::systemEnvironment();
        oEnvironment.insert("TMPDIR", oTemp.path());
        oCli.setProcessEnvironment(oEnvironment);
        oCli.start(TESSIVAR_CLI, {"upload", "--port", aLines[0].SlavePath(), "--port",
                                  aLines[1].SlavePath(), mdlUnitFiles::Write(QDir(oHome.Path()))});
        oCli.setReadChannel(QProcess::StandardError);
        QByteArray aSaid;
        mdlCli::ReadUntil(oCli, aSaid, "Continue? [y/N] ");
        oCli.write("y\n");
        oCli.setReadChannel(QProcess::StandardOutput);
        for (const clsPseudoTerminal& oLine : aLines) {
            const QByteArray aMark = oLine.SlavePath().toUtf8() + " opened\n";
            mdlCli::ReadUntil(oCli, aSaid, aMark);
            QVERIFY2(aSaid.contains(aMark), aSaid.constData());
        }
        ::kill(pid_t(oCli.processId()), SIGKILL);
        oCli.waitForFinished();
        QTRY_COMPARE_WITH_TIMEOUT(mdlTestFiles::Read(oHome.Path() + "/" + sLedger).count('\n'), 2,
                                  20'000);
        QCOMPARE(
            QDir(oTemp.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
            QStringList());
    }
};

QTEST_GUILESS_MAIN(tst_hostileStores)
#include "tst_hostileStores.moc"
