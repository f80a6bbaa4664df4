#include "tests/support/clsPrivateHome.h"
#include "tests/support/mdlCli.h"
#include "tests/support/mdlRows.h"
#include "tests/support/mdlTestFiles.h"
#include "tests/support/mdlUnitFiles.h"

#include <QTemporaryDir>

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

struct HostileRow {
    const char* sName;
    Runner oRun;
    int iExit;
    QByteArray aSaid; // on standard error, or on standard output when bOut
    bool bOut = false;
};

// clang-format off
const HostileRow aRows[] = {
    // 1. The ledger's path names no ordinary file.

    // 2. The ledger cannot be added to at the end of an upload.

    // 3. A large ledger.

    // 4. A full disk under the ledger.

    // 5. A settings file that cannot be written.

    // 6. A damaged counter file.

    // 7. Paths that are not valid UTF-8.

    // 8. Words that mislead.
    {"counter lock path a folder",
     [](const QString& sHome) {
         const QString sStore = sHome + "/serials.json";
         QDir().mkpath(sStore + ".lock");
         return mdlCli::Run({"upload", "--serial", "7000:2:1", "--serial-store", sStore,
                             mdlUnitFiles::Write(QDir(sHome))});
     },
     1, "cannot be locked: its lock file "},

    // 9. Control characters from stored or outside data.

    // 10. The hand-over between the ports of a several-port run.

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
};

QTEST_GUILESS_MAIN(tst_hostileStores)
#include "tst_hostileStores.moc"
