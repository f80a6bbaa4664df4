#include "tests/support/mdlCli.h"
#include "tests/support/mdlRows.h"
#include "tests/support/mdlTestFiles.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <sys/stat.h>

// Files as they reach a technician from sticks, shares and mail, at their
// worst: each is refused with the window's words and a bounded message, in
// bounded memory and time, or handled.
namespace {

// Writes the files of a row into its folder and runs inspect on them.
using Runner = std::function<mdlCli::Outcome(const QDir&)>;

const QByteArray aCommands = "16\r\nFF\r\n";
const QByteArray aRecords = "S9030000FC\r\n";

// unit.s19 and unit.cmd, either of them replaced by oMake.
Runner Unit(const char* sReplaced, const std::function<void(const QString&)>& oMake) {
    return [=](const QDir& oDir) {
        mdlTestFiles::Write(oDir, "unit.cmd", aCommands);
        mdlTestFiles::Write(oDir, "unit.s19", aRecords);
        QFile::remove(oDir.filePath(sReplaced));
        oMake(oDir.filePath(sReplaced));
        return mdlCli::Run({"inspect", "--json", oDir.filePath("unit.s19")});
    };
}

// Standard output on a full disk.
mdlCli::Outcome OutputLost(const QDir& oDir) {
    mdlTestFiles::Write(oDir, "unit.cmd", aCommands);
    return mdlCli::Run({"inspect", mdlTestFiles::Write(oDir, "unit.s19", aRecords)}, "/dev/full");
}

// Bytes that no text can carry name the folder; the shell passes them on,
// since a QString cannot.
mdlCli::Outcome FolderNotUtf8(const QDir& oDir) {
    const QByteArray aFolder = QFile::encodeName(oDir.path()) + "/caf\xE9";
    ::mkdir(aFolder.constData(), 0700);
    return mdlCli::RunProgram("/bin/sh", {"-c", R"sh(exec "$0" inspect --json "$(printf "$1")")sh",
                                          TESSIVAR_CLI, oDir.path() + "/caf\\351/unit.s19"});
}

// A sparse file: its size on disk is nothing, its bytes are zeros.
std::function<void(const QString&)> Sparse(qint64 lSize, const QByteArray& aStart = {}) {
    return [=](const QString& sPath) {
        mdlTestFiles::Write(QDir(), sPath, aStart);
        QFile(sPath).resize(lSize);
    };
}

void Fifo(const QString& sPath) {
    ::mkfifo(QFile::encodeName(sPath).constData(), 0600);
}

std::function<void(const QString&)> LinkTo(const QString& sTarget) {
    return [=](const QString& sPath) { QFile::link(sTarget, sPath); };
}

struct HostileRow {
    const char* sName;
    Runner oRun;
    int iExit, iCode; // the code in the JSON, 0 when there is none
    QByteArray aSaid; // on standard error
};

// clang-format off
const HostileRow aRows[] = {
    {"4 GB application file without a line end", Unit("unit.s19", Sparse(4LL << 30)), 1, 2214,
     "Line 1 is longer than 1,024 characters."},
    {"100 MB command-file line", Unit("unit.cmd", Sparse(100 << 20, aCommands)), 1, 2010,
     "Command file line 3 is longer than 1,024 characters."},
    {"FIFO as the command file", Unit("unit.cmd", Fifo), 1, 2001,
     "not an ordinary file but a FIFO"},
    {"unreadable command file", Unit("unit.cmd", LinkTo("/proc/self/mem")), 1, 2003,
     "line 1: could not be read: Input/output error"},
    {"escape codes, a NUL and 91 characters in a region line",
     Unit("unit.cmd", [](const QString& sPath) {
         mdlTestFiles::Write(QDir(), sPath, aCommands + QByteArray("1,\x1B[2J\0,7,E", 11) +
                                                QByteArray(80, 'x') + "\r\n");
     }),
     1, 2010, R"(not a 32-bit hexadecimal number: "1,\x1b[2J\x00,7,E)" + QByteArray(69, 'x') +
     R"(" and 11 characters more.)"},
    {"100,000 protect lines over the largest image",
     Unit("unit.cmd", [](const QString& sPath) {
         mdlTestFiles::Write(QDir(), sPath, "15\r\nFF\r\n" + QByteArray("0,0,40FFFF,R\r\n").repeated(100'000));
     }),
     0, 0, "Flash image created"},
    {"standard output on a full disk", OutputLost, 7, 0, "Flash image created"},
    {"folder name not valid UTF-8", FolderNotUtf8, 1, 2000,
     "tessivar-cli: The path is not valid UTF-8: "},
};
// clang-format on

} // namespace

class tst_hostileInput : public QObject {
    Q_OBJECT

    QTemporaryDir oDir;

private slots:
    void refusedOrHandled_data() { mdlRows::Add(aRows); }

    void refusedOrHandled() {
        QFETCH(HostileRow, oRow);
        const QDir oFolder(oDir.filePath(oRow.sName));
        QDir().mkpath(oFolder.path());
        const mdlCli::Outcome oRun = oRow.oRun(oFolder);
        QVERIFY2(oRun.aErr.contains(oRow.aSaid), oRun.aErr.left(2000).constData());
        QCOMPARE(oRun.iExitCode, oRow.iExit);
        if (oRow.iCode != 0) {
            QCOMPARE(QJsonDocument::fromJson(oRun.aOut).object().value("error").toInt(),
                     oRow.iCode);
            QVERIFY(oRun.aErr.size() < 2000 && oRun.aOut.size() < 2000);
            QVERIFY(!oRun.aErr.contains('\x1B') && !oRun.aErr.contains('\0'));
        }
    }
};

QTEST_GUILESS_MAIN(tst_hostileInput)
#include "tst_hostileInput.moc"
