#include "engine/clsApplication.h"
#include "engine/clsUploadLedger.h"
#include "platform/clsFileLock.h"
#include "platform/clsJRT_Registry.h"
#include "platform/mdlDataPaths.h"
#include "platform/mdlDurableFile.h"
#include "tests/support/clsPrivateHome.h"
#include "tests/support/clsRecordingHost.h"
#include "tests/support/mdlForked.h"
#include "tests/support/mdlRows.h"
#include "tests/support/mdlTestFiles.h"

#include <QJsonDocument>
#include <QTest>

#include <sys/resource.h>

// The files kept across programs (settings, ledger), changed by two programs
// at once, by programs killed at each named point of a change, and on a full
// disk: a change is there whole or not at all, the next program takes a dead
// one's lock at once, and nothing piles up beside the files. The serial
// number counter's are tst_clsCounterStore's; the recent files are kept in
// the settings' file, and their own lock is tst_frmMain's.
namespace {

using R = clsJRT_Registry;

const QString sComms = QStringLiteral("SOFTWARE\\Quellis\\Tessivar\\2.6.0\\Comms");
// Below every store's file as the tests fill them, above every lock file.
constexpr rlim_t lFullDiskBytes = 300;

QString Home() {
    return qEnvironmentVariable("XDG_DATA_HOME");
}

// One of the stores, as the programs change it: change number i, and
// whether the store holds it. Failures are the store's to report; here only
// what stays counts.
struct User {
    const char* sName;
    std::function<void(int)> oChange;
    std::function<bool(int)> oHolds;
    // Changes each of two programs makes at once.
    int iEach;
};

QString Text(int i) {
    return QString(400, u'v') + QString::number(i);
}

void SetValue(int i) {
    R oKey;
    oKey.SetSubKey(sComms);
    oKey.SetAutoCreate(true);
    try {
        oKey.OpenKey();
        oKey.SetValue(QStringLiteral("V%1").arg(i), R::RegSz, Text(i));
        oKey.CloseKey();
    } catch (const clsError&) {
    }
}

bool HasValue(int i) {
    R oKey;
    oKey.SetSubKey(sComms);
    try {
        oKey.OpenKey();
        return oKey.Value(QStringLiteral("V%1").arg(i), R::RegSz) == Text(i);
    } catch (const clsError&) {
        return false;
    }
}

// An upload of a file that is not there: its entry alone.
void AddEntry(int i) {
    clsRecordingHost oHost;
    clsApplication oApp(oHost);
    clsUploadSequence oSequence(oApp);
    const clsUploadLedger oLedger(oApp, oSequence);
    oSequence.Run(Home() + QStringLiteral("/%1.s19").arg(i));
}

bool HasEntry(int i) {
    const QList<QByteArray> aLines = mdlTestFiles::Read(mdlDataPaths::LedgerFile()).split('\n');
    return std::any_of(aLines.begin(), aLines.end(), [i](const QByteArray& aLine) {
        return QJsonDocument::fromJson(aLine)[QStringLiteral("file")].toString().endsWith(
            QStringLiteral("/%1.s19").arg(i));
    });
}

const User aUsers[] = {
    {"settings", SetValue, HasValue, 20},
    {"ledger", AddEntry, HasEntry, 20},
};

// What a program meets while it changes a store.
struct Fault {
    const char* sName;
    // The named point at which it is killed; none for a full disk.
    const char* sPoint;
    // Killed inside the write by the signal of a file size limit.
    bool bKilledMidWrite;
    // The change is in the store all the same.
    bool bHeld;
};

const Fault aFaults[] = {
    {"killed before the write, holding the lock", "locked", false, false},
    {"killed before the rename", "replacing", false, false},
    {"killed after the write, holding the lock", "written", false, true},
    {"killed mid-write", nullptr, true, false},
    {"full disk", nullptr, false, false},
};

const char* sKillPoint = nullptr;

void KillAtPoint(const char* sPoint) {
    if (qstrcmp(sPoint, sKillPoint) == 0) {
        ::raise(SIGKILL);
    }
}

// Change i in a program of its own that meets oFault.
void ChangeMeeting(const User& oUser, const Fault& oFault, int i) {
    mdlForked::Run([&] {
        sKillPoint = oFault.sPoint;
        mdlDurableFile::SetPointHook(KillAtPoint);
        if (!oFault.sPoint) {
            std::signal(SIGXFSZ, oFault.bKilledMidWrite ? SIG_DFL : SIG_IGN);
            const rlimit oLimit{lFullDiskBytes, lFullDiskBytes};
            ::setrlimit(RLIMIT_FSIZE, &oLimit);
        }
        oUser.oChange(i);
        return QString();
    });
}

// Files a change leaves beside the stores.
QStringList LeftBeside() {
    QStringList asLeft;
    for (const QString& sFolder : {Home(), QFileInfo(mdlDataPaths::SettingsFile()).path(),
                                   QFileInfo(mdlDataPaths::LedgerFile()).path()}) {
        for (const QFileInfo& oFile : QDir(sFolder).entryInfoList(QDir::Files)) {
            if (oFile.fileName().endsWith(".new") || oFile.fileName().endsWith(".lock")) {
                asLeft << oFile.fileName();
            }
        }
    }
    return asLeft;
}

// A lock file as another machine's holder left it, and how long ago; the
// empty one a killed taker leaves is tst_mdlDurableFile's, on every
// platform.
struct LockRow {
    const char* sName;
    qint64 lAgeMs;
    bool bTaken;
};

const LockRow aLockRows[] = {
    {"under 30 s old", 29'000, false},
    {"over 30 s old", 31'000, true},
};

} // namespace

class tst_durableFiles : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;

private slots:
    void init() {
        QDir(oHome.Path()).removeRecursively();
        QDir().mkpath(Home());
    }

    void changesOfTwoProgramsAtOnceAllStay_data() { mdlRows::Add(aUsers); }

    void changesOfTwoProgramsAtOnceAllStay() {
        QFETCH(User, oRow);
        const auto oChanges = [&](int iFirst) {
            return [&oRow, iFirst] {
                for (int i = iFirst; i < iFirst + oRow.iEach; ++i) {
                    oRow.oChange(i);
                }
                return QString();
            };
        };
        // Both started before either is waited for.
        const mdlForked::Child oA = mdlForked::Start(oChanges(100));
        const mdlForked::Child oB = mdlForked::Start(oChanges(200));
        QCOMPARE(mdlForked::Finish(oA) + mdlForked::Finish(oB), "");
        for (int i = 0; i < oRow.iEach; ++i) {
            QVERIFY2(oRow.oHolds(100 + i) && oRow.oHolds(200 + i), qPrintable(QString::number(i)));
        }
    }

    void aFailedChangeLeavesTheStoreWhole_data() {
        QTest::addColumn<User>("oUser");
        QTest::addColumn<Fault>("oFault");
        for (const User& oUser : aUsers) {
            for (const Fault& oFault : aFaults) {
                // Entries are added to the ledger, never renamed into it.
                if (qstrcmp(oUser.sName, "ledger") != 0 ||
                    qstrcmp(oFault.sPoint, "replacing") != 0) {
                    QTest::addRow("%s, %s", oUser.sName, oFault.sName) << oUser << oFault;
                }
            }
        }
    }

    // The change before stays, the one that met the fault is there whole
    // or not at all, and the next program's change goes in.
    void aFailedChangeLeavesTheStoreWhole() {
        QFETCH(User, oUser);
        QFETCH(Fault, oFault);
        oUser.oChange(1);
        ChangeMeeting(oUser, oFault, 2);
        QCOMPARE(oUser.oHolds(2), oFault.bHeld);
        QVERIFY(oUser.oHolds(1));
        oUser.oChange(3);
        QVERIFY(oUser.oHolds(3));
        QCOMPARE(LeftBeside(), QStringList());
    }

    void aLockLeftBehindIsTakenByItsAge_data() { mdlRows::Add(aLockRows); }

    void aLockLeftBehindIsTakenByItsAge() {
        QFETCH(LockRow, oRow);
        const QString sFile = Home() + QStringLiteral("/store");
        const QString sLock = mdlTestFiles::Write(
            QDir(), sFile + ".lock", "4321\ntessivar-cli\nelsewhere\nffffffff\nffffffff\n");
        QFile oTaker(sLock);
        QVERIFY(oTaker.open(QIODevice::ReadWrite));
        QVERIFY(oTaker.setFileTime(QDateTime::currentDateTime().addMSecs(-oRow.lAgeMs),
                                   QFileDevice::FileModificationTime));
        clsFileLock oLock(sFile);
        QCOMPARE(oLock.Lock(0), oRow.bTaken);
        QCOMPARE(oLock.Busy(), !oRow.bTaken);
    }
};

QTEST_GUILESS_MAIN(tst_durableFiles)
#include "tst_durableFiles.moc"
