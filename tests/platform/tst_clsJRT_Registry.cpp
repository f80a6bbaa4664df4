#include "core/clsError.h"
#include "platform/clsJRT_Registry.h"
#include "tests/support/mdlRows.h"
#include "tests/support/mdlTestFiles.h"

#include <QElapsedTimer>
#include <QLockFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <csignal>
#include <functional>

#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

// Copies of this program play the other side on real files: writers killed
// or running side by side, a reader without root's rights, a save that runs
// out of room, copies that die holding or taking the lock.
namespace {

using R = clsJRT_Registry;
using Action = std::function<QVariant(R&)>;

const QString sComms = QStringLiteral("SOFTWARE\\Quellis\\Tessivar\\2.6.0\\Comms");

R& Opened(R& oKey, const QString& sSubKey = sComms, bool bCreate = true) {
    oKey.SetSubKey(sSubKey);
    oKey.SetAutoCreate(bCreate);
    oKey.OpenKey();
    return oKey;
}

// "type value", or "number source: description" of the error raised.
QString Outcome(const std::function<QVariant()>& oCall) {
    try {
        const QVariant vResult = oCall();
        return QStringLiteral("%1 %2").arg(vResult.typeName(), vResult.toString());
    } catch (const clsError& oError) {
        return QStringLiteral("%1 %2: %3")
            .arg(oError.Number())
            .arg(oError.Source(), oError.Description());
    }
}

QString Raised(qint32 lCode, const char* sMember, const char* sDescription) {
    return QStringLiteral("%1 %2 --- clsJRT_Registry: %3")
        .arg(clsError::lObjectErrorBase + lCode)
        .arg(sMember, sDescription);
}

// The file as another copy of the program finds it: the copy of it that this
// one keeps no longer matches, so the file is read again.
void Reread() {
    QFile oFile(R::FilePath());
    if (!oFile.open(QIODevice::ReadOnly) ||
        !oFile.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                           QFile::FileModificationTime)) {
        qFatal("cannot age the settings file");
    }
}

QVariant ReadBack(R& oKey, const QString& sName, qint32 rtType) {
    oKey.CloseKey();
    Reread();
    return Opened(oKey, sComms, false).Value(sName, rtType);
}

// Whole: the last line counts the bytes before it.
QByteArray WholeFile() {
    QFile oFile(R::FilePath());
    const QByteArray aText = oFile.open(QIODevice::ReadOnly) ? oFile.readAll() : QByteArray();
    const qsizetype lLastLine = aText.lastIndexOf("\n;") + 1;
    return aText.sliced(lLastLine) == "; " + QByteArray::number(lLastLine) + " bytes\n"
               ? aText
               : "not whole";
}

QProcess* Start(const QString& sRole, const QString& sSetting = {}) {
    auto* oChild = new QProcess;
    QProcessEnvironment oEnvironment = QProcessEnvironment::systemEnvironment();
    oEnvironment.insert("TST_REGISTRY_ROLE", sRole);
    oEnvironment.insert("TST_REGISTRY_SETTING", sSetting);
    oChild->setProcessEnvironment(oEnvironment);
    oChild->start(QCoreApplication::applicationFilePath(), {});
    return oChild;
}

QString RunChild(const QString& sRole, const QString& sSetting = {}) {
    std::unique_ptr<QProcess> oChild(Start(sRole, sSetting));
    if (!oChild->waitForFinished(20'000)) {
        oChild->kill();
        oChild->waitForFinished();
        return QStringLiteral("hung");
    }
    return QString::fromUtf8(oChild->readAllStandardOutput() + oChild->readAllStandardError());
}

int RunRole(const QByteArray& aRole, const QString& sSetting) {
    R oKey;
    QTextStream oOut(stdout);
    if (aRole == "read as nobody" &&
        (setgid(65534) || setuid(65534) || prctl(PR_SET_DUMPABLE, 1))) {
        return 1; // the leak checker needs the process dumpable
    }
    if (aRole.startsWith("read")) {
        oOut << Outcome(
            [&] { return Opened(oKey, sComms, false).Value("PortNumber", R::RegDword); });
    } else if (aRole == "write until killed") {
        for (int i = 0;; ++i) {
            Opened(oKey).SetValue("Text", R::RegSz, QString(4000, QChar(u'a' + i % 26)));
            oKey.CloseKey();
            (oOut << "saved" << Qt::endl).flush();
        }
    } else if (aRole == "count") {
        for (int i = 0; i < 40; ++i) {
            Opened(oKey).SetValue(sSetting + QString::number(i), R::RegDword, i);
            oKey.CloseKey();
        }
    } else if (aRole == "save short") {
        Opened(oKey).SetValue("Text", R::RegSz, QString(sSetting.toInt(), u'z'));
        const rlimit oLimit{rlim_t(sSetting.toInt() / 2), rlim_t(sSetting.toInt() / 2)};
        std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &oLimit);
        oOut << Outcome([&] { return oKey.CloseKey(), QVariant(); });
    } else if (aRole == "die holding the lock") {
        QDir().mkpath(QFileInfo(R::FilePath()).path());
        QLockFile oLock(R::FilePath() + ".lock");
        oLock.lock();
        raise(SIGKILL);
    } else if (aRole == "die taking the lock") {
        mdlTestFiles::Write(QDir(), R::FilePath() + ".lock", {});
    }
    return 0;
}

struct MemberRow {
    const char* sName;
    Action oAction;
    QString sOutcome;
};

struct FileRow {
    const char* sName;
    QByteArray aText;
    mode_t lMode;
    const char* sRole;
    QString sOutcome;
};

Action Get(qint32 rtType) {
    return [=](R& o) { return Opened(o).Value("x", rtType); };
}
Action Let(qint32 rtType, QVariant vData) {
    return [=](R& o) { return Opened(o).SetValue("x", rtType, vData), QVariant(); };
}
Action RoundTrip(qint32 rtWritten, QVariant vData, qint32 rtRead) {
    return
        [=](R& o) { return Opened(o).SetValue("x", rtWritten, vData), ReadBack(o, "x", rtRead); };
}
Action OpenAfter(const QString& sCreated, const QString& sOpened, bool bCreate) {
    return [=](R& o) {
        if (!sCreated.isEmpty()) {
            Opened(o, sCreated).CloseKey();
            Reread();
        }
        o.SetSubKey(sOpened);
        o.SetAutoCreate(bCreate);
        return QVariant(o.OpenKey());
    };
}

const QString s300 = QString("0123456789").repeated(30);
const QString sOdd = QString("C:\\tmp \"1\"\n\t%/=[;@") + QChar(0xE9) + QChar(0x4E00) + QChar(0);
const QByteArray aComms = "[HKEY_LOCAL_MACHINE\\" + sComms.toUtf8() + "]\nPortNumber=7\n";
const char aBadLines[] =
    "\0=\"\n=4\n\xc3(\nPortNumber=\"\\q\"\nPortNumber=9 9\nPortNumber=\"\\\"\n[x\n";

} // namespace

Q_DECLARE_METATYPE(MemberRow)
Q_DECLARE_METATYPE(FileRow)

class tst_clsJRT_Registry : public QObject {
    Q_OBJECT
    QTemporaryDir oHome;

private slots:
    void initTestCase() {
        qputenv("XDG_CONFIG_HOME", oHome.path().toUtf8());
        qputenv("XDG_DATA_HOME", oHome.path().toUtf8());
        QLocale::setDefault(QLocale::German);
    }
    void init() {
        QDir(oHome.path()).removeRecursively();
        QDir().mkpath(oHome.path());
    }

    void members_data() {
        const char* sGet = "Value <property get>";
        const char* sLet = "Value <property let>";
        const char* sOpen = "OpenKey <funct>";
        const QString sEmpty = Outcome([] { return QVariant(); });
        mdlRows::Add<MemberRow>({
            {"get before OpenKey", [](R& o) { return o.Value("x", 1); },
             Raised(1006, sGet, "No key opened.")},
            {"set before OpenKey", [](R& o) { return o.SetValue("x", 1, 1), QVariant(); },
             Raised(1006, sLet, "No key opened")},
            {"get after CloseKey", [](R& o) { return Opened(o).CloseKey(), o.Value("x", 1); },
             Raised(1006, sGet, "No key opened.")},
            {"CloseKey twice", [](R& o) { return Opened(o).CloseKey(), o.CloseKey(), QVariant(); },
             sEmpty},
            {"get type 3", Get(3), Raised(1007, sGet, "Unimplemented registry type.")},
            {"set type 3", Let(3, 1), Raised(1007, sLet, "Unimplemented registry type")},
            {"missing value", Get(1), Raised(1003, sGet, "Failure during value read.")},
            {"text not a number", Let(4, "1x"),
             QString("13 %1 --- clsJRT_Registry: Type mismatch").arg(sLet)},
            {"number past 32 bits", Let(4, "2147483648"),
             QString("6 %1 --- clsJRT_Registry: Overflow").arg(sLet)},
            {"missing key", OpenAfter("", sComms, false),
             Raised(1004, sOpen, "Key does not exist")},
            {"unknown root key", [](R& o) { return o.SetRootKey(0x80000007), o.OpenKey(); },
             Raised(1009, sOpen, "Unknown Error No. 6")},
            {"folder cannot be made",
             [](R& o) {
                 return mdlTestFiles::Write(QDir(), QFileInfo(R::FilePath()).path(), ""),
                        o.OpenKey();
             },
             Raised(1000, sOpen, "Cann't open parent key.")},
            {"file is a folder", [](R& o) { return QDir().mkpath(R::FilePath()), o.OpenKey(); },
             Raised(1009, sOpen, "Unknown Error No. 5")},
            {"57600 as REG_DWORD", RoundTrip(4, 57600, 4), "int 57600"},
            {"half rounds to even", RoundTrip(4, 2.5F, 4), "int 2"},
            {"empty text", RoundTrip(1, "", 1), "QString "},
            {"300 characters", RoundTrip(1, s300, 1), "QString " + s300},
            {"quotes, backslashes, controls", RoundTrip(1, sOdd, 1), "QString " + sOdd},
            {"1.5 with a point in a comma locale", RoundTrip(1, 1.5F, 1), "QString 1.5"},
            {"odd key and value names",
             [](R& o) {
                 return Opened(o, sComms + "\\" + sOdd).SetValue(sOdd, 1, "v"), o.CloseKey(),
                        Reread(), Opened(o, sComms + "\\" + sOdd, false).Value(sOdd, 1);
             },
             "QString v"},
            {"slash in a key name names no value",
             [](R& o) {
                 return Opened(o, "A\\B/C").CloseKey(), Reread(), Opened(o, "A\\B").Value("C", 1);
             },
             Raised(1003, sGet, "Failure during value read.")},
            {"REG_DWORD read as text", RoundTrip(4, 5, 1), sEmpty},
            {"text read as REG_DWORD", RoundTrip(1, "5", 4), sEmpty},
            {"new key", OpenAfter("", "A\\B", true), "int 1"},
            {"key made before, no value in it", OpenAfter("A\\B", "A\\B", true), "int 2"},
            {"existing key without auto-create", OpenAfter("A\\B", "A\\B", false), "int 2"},
            {"parent of a key made before", OpenAfter("A\\B\\C", "A\\B", false), "int 2"},
            {"doubled and trailing backslashes", OpenAfter("A\\B", "A\\\\B\\", false), "int 2"},
            {"longer name is no child", OpenAfter("A\\BC", "A\\B", false),
             Raised(1004, sOpen, "Key does not exist")},
        });
    }
    void members() {
        QFETCH(MemberRow, oRow);
        R oKey;
        QCOMPARE(Outcome([&] { return oRow.oAction(oKey); }), oRow.sOutcome);
    }

    // The reader runs in a copy of its own, so that a hang fails the row.
    void badFilesLeaveTheReaderRunning_data() {
        QByteArray aRandom(8192, 0);
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(aRandom.data()),
                                      aRandom.size() / 4);
        const QString sDenied = Raised(1009, "OpenKey <funct>", "Unknown Error No. 5");
        mdlRows::Add<FileRow>({
            {"bad lines among good ones",
             "x=1\n[\n\xff=\n" + aComms + QByteArray(aBadLines, sizeof aBadLines - 1), 0644, "read",
             "int 7"},
            {"cut inside a value", aComms + "PortNumber=57", 0644, "read", "int 7"},
            {"random bytes", aRandom, 0644, "read",
             Raised(1004, "OpenKey <funct>", "Key does not exist")},
            {"FIFO in its place", {}, S_IFIFO | 0600, "read", sDenied},
            {"unreadable", aComms, 0, "read as nobody", sDenied},
            {"read-only", aComms, 0444, "read as nobody", sDenied},
        });
    }
    void badFilesLeaveTheReaderRunning() {
        QFETCH(FileRow, oRow);
        const bool bAsNobody = QByteArray(oRow.sRole) == "read as nobody";
        if (bAsNobody && ::geteuid() != 0) {
            QSKIP("only root can become another user to meet the file's mode");
        }
        const QString sPath = R::FilePath();
        if (S_ISFIFO(oRow.lMode)) {
            QDir().mkpath(QFileInfo(sPath).path());
            QCOMPARE(mkfifo(qPrintable(sPath), 0600), 0);
        } else {
            mdlTestFiles::Write(QDir(), sPath, oRow.aText);
            QCOMPARE(chmod(qPrintable(sPath), oRow.lMode), 0);
        }
        // For a reader without root's rights, only the file's mode stands in the way.
        QVERIFY(!bAsNobody || (chmod(qPrintable(oHome.path()), 0755) == 0 &&
                               chown(qPrintable(QFileInfo(sPath).path()), 65534, 65534) == 0));
        QCOMPARE(RunChild(oRow.sRole), oRow.sOutcome);
    }

    void killedWriterLeavesAWholeFile() {
        for (int iKill = 0; iKill < 20; ++iKill) {
            std::unique_ptr<QProcess> oWriter(Start("write until killed"));
            QVERIFY(oWriter->waitForReadyRead(20'000));
            QTest::qSleep(QRandomGenerator::global()->bounded(20));
            oWriter->kill();
            oWriter->waitForFinished();
            QVERIFY(WholeFile() != "not whole");
            R oKey;
            QCOMPARE(ReadBack(Opened(oKey), "Text", R::RegSz).toString().size(), 4000);
        }
    }

    void twoWritersKeepEveryValue() {
        std::unique_ptr<QProcess> oA(Start("count", "A")), oB(Start("count", "B"));
        QVERIFY(oA->waitForFinished(30'000) && oB->waitForFinished(30'000));
        QVERIFY(WholeFile() != "not whole");
        R oKey;
        Reread();
        Opened(oKey);
        for (int i = 0; i < 40; ++i) {
            QCOMPARE(oKey.Value("A" + QString::number(i), R::RegDword), QVariant(i));
            QCOMPARE(oKey.Value("B" + QString::number(i), R::RegDword), QVariant(i));
        }
    }

    // A file size limit holds for a whole process: the save runs in a copy.
    void shortSaveKeepsTheEarlierFile_data() {
        QTest::addColumn<QString>("sLength");
        QTest::addColumn<bool>("bLinked");
        QTest::addColumn<QString>("sOutcome");
        const QString sShort = Raised(1009, "CloseKey <sub>", "Unknown Error No. 112");
        QTest::newRow("whole file in the last write (Qt misses it)") << "3000" << false << sShort;
        QTest::newRow("the file a symbolic link") << "3000" << true << sShort;
        QTest::newRow("write fails while the file is written")
            << "40000" << false << Raised(1009, "CloseKey <sub>", "Unknown Error No. 5");
    }
    void shortSaveKeepsTheEarlierFile() {
        QFETCH(QString, sLength);
        QFETCH(bool, bLinked);
        QFETCH(QString, sOutcome);
        R oKey;
        Opened(oKey).SetValue("PortNumber", R::RegDword, 1);
        oKey.CloseKey();
        const QByteArray aEarlier = WholeFile();
        if (bLinked) {
            QVERIFY(QFile::rename(R::FilePath(), oHome.filePath("Real.ini")) &&
                    QFile::link(oHome.filePath("Real.ini"), R::FilePath()));
        }
        QCOMPARE(RunChild("save short", sLength), sOutcome);
        QCOMPARE(WholeFile(), aEarlier);
        QCOMPARE(QFileInfo(R::FilePath()).isSymLink(), bLinked);
    }

    void deadCopysLockDoesNotStall_data() {
        QTest::addColumn<QString>("sRole");
        QTest::newRow("copy died holding the lock") << "die holding the lock";
        QTest::newRow("copy died taking it: empty lock file") << "die taking the lock";
    }
    void deadCopysLockDoesNotStall() {
        QFETCH(QString, sRole);
        QCOMPARE(RunChild(sRole), QString());
        QVERIFY(QFile::exists(R::FilePath() + ".lock"));
        QElapsedTimer oTimer;
        oTimer.start();
        R oKey;
        Opened(oKey).CloseKey();
        qInfo("the lock held the save for %lld ms", oTimer.elapsed());
        QVERIFY(oTimer.elapsed() < 3000);
    }
};

int main(int argc, char** argv) {
    QCoreApplication oApp(argc, argv);
    const QByteArray aRole = qgetenv("TST_REGISTRY_ROLE");
    if (!aRole.isEmpty()) {
        return RunRole(aRole, qEnvironmentVariable("TST_REGISTRY_SETTING"));
    }
    tst_clsJRT_Registry oTest;
    return QTest::qExec(&oTest, argc, argv);
}

#include "tst_clsJRT_Registry.moc"
