#include "core/clsError.h"
#include "platform/clsJRT_Registry.h"
#include "tests/support/clsPrivateHome.h"
#include "tests/support/mdlForked.h"
#include "tests/support/mdlRows.h"
#include "tests/support/mdlTestFiles.h"

#include <QLockFile>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>

#include <sys/resource.h>
#include <sys/stat.h>

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

// PortNumber as a reader of the file finds it.
QString PortNumber() {
    R oKey;
    return Outcome([&] { return Opened(oKey, sComms, false).Value("PortNumber", R::RegDword); });
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
    bool bAsNobody;
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

const QString sOdd = QString("C:\\tmp \"1\"\n\t%/=[;@") + QChar(0xE9) + QChar(0x4E00) + QChar(0) +
                     QString("0123456789").repeated(30);
const QByteArray aComms = "[HKEY_LOCAL_MACHINE\\" + sComms.toUtf8() + "]\nPortNumber=7\n";
const char aBadLines[] =
    "\0=\"\n=4\n\xc3(\nPortNumber=\"\\q\"\nPortNumber=9 9\nPortNumber=\"\\\"\n[x\n";

} // namespace

class tst_clsJRT_Registry : public QObject {
    Q_OBJECT
    clsPrivateHome oHome;

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::German); }
    void init() {
        QDir(oHome.Path()).removeRecursively();
        QDir().mkpath(oHome.Path());
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
            {"quotes, backslashes, controls, 300 characters", RoundTrip(1, sOdd, 1),
             "QString " + sOdd},
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
            {"text read as REG_DWORD", RoundTrip(1, "5", 4), sEmpty},
            {"new key", OpenAfter("", "A\\B", true), "int 1"},
            {"key made before, no value in it", OpenAfter("A\\B", "A\\B", true), "int 2"},
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
             "x=1\n[\n\xff=\n" + aComms + QByteArray(aBadLines, sizeof aBadLines - 1), 0644, false,
             "int 7"},
            {"cut inside a value", aComms + "PortNumber=57", 0644, false, "int 7"},
            {"random bytes", aRandom, 0644, false,
             Raised(1004, "OpenKey <funct>", "Key does not exist")},
            {"FIFO in its place", {}, S_IFIFO | 0600, false, sDenied},
            {"read-only to another user", aComms, 0444, true, sDenied},
        });
    }
    void badFilesLeaveTheReaderRunning() {
        QFETCH(FileRow, oRow);
        if (oRow.bAsNobody && ::geteuid() != 0) {
            QSKIP("only root can become another user to meet the file's mode");
        }
        const QString sPath = R::FilePath();
        mdlTestFiles::Write(QDir(), sPath, oRow.aText);
        if (S_ISFIFO(oRow.lMode)) {
            QVERIFY(QFile::remove(sPath) && mkfifo(qPrintable(sPath), oRow.lMode) == 0);
        }
        QCOMPARE(chmod(qPrintable(sPath), oRow.lMode), 0);
        // For a reader without root's rights, only the file's mode stands in the way.
        QVERIFY(!oRow.bAsNobody || (chmod(qPrintable(oHome.Path()), 0755) == 0 &&
                                    chown(qPrintable(QFileInfo(sPath).path()), 65534, 65534) == 0));
        QCOMPARE(oRow.bAsNobody ? mdlForked::RunAsNobody(PortNumber) : mdlForked::Run(PortNumber),
                 oRow.sOutcome);
    }

    void twoWritersKeepEveryValue() {
        const auto oCount = [](const QString& sPrefix) {
            return [sPrefix] {
                R oKey;
                for (int i = 0; i < 40; ++i) {
                    Opened(oKey).SetValue(sPrefix + QString::number(i), R::RegDword, i);
                    oKey.CloseKey();
                }
                return QStringLiteral("done");
            };
        };
        const mdlForked::Child oA = mdlForked::Start(oCount("A"));
        const mdlForked::Child oB = mdlForked::Start(oCount("B"));
        QCOMPARE(mdlForked::Finish(oA) + mdlForked::Finish(oB), "donedone");
        R oKey;
        Reread();
        Opened(oKey);
        for (int i = 0; i < 40; ++i) {
            QCOMPARE(oKey.Value("A" + QString::number(i), R::RegDword), QVariant(i));
            QCOMPARE(oKey.Value("B" + QString::number(i), R::RegDword), QVariant(i));
        }
    }

    // Values read while another copy saves are the ones it saves.
    void openingWaitsForASave() {
        const QString sLock = R::FilePath() + ".lock";
        mdlTestFiles::Write(QDir(), R::FilePath(), aComms);
        const mdlForked::Child oSaving = mdlForked::Start([&] {
            QLockFile oLock(sLock);
            oLock.lock();
            QThread::msleep(1000);
            mdlTestFiles::Write(QDir(), R::FilePath(), QByteArray(aComms).replace('7', '8'));
            return QStringLiteral("saved");
        });
        QTRY_VERIFY(QFileInfo(sLock).size() > 0);
        QCOMPARE(PortNumber(), "int 8");
        QCOMPARE(mdlForked::Finish(oSaving), "saved");
    }

    // A file size limit holds for a whole process: the save runs in a copy.
    void shortSaveKeepsTheEarlierFile_data() {
        QTest::addColumn<int>("iLength");
        QTest::addColumn<bool>("bLinked");
        QTest::addColumn<QString>("sOutcome");
        const QString sShort = Raised(1009, "CloseKey <sub>", "Unknown Error No. 112");
        QTest::newRow("whole file in the last write (Qt misses it)") << 3000 << false << sShort;
        QTest::newRow("the file a symbolic link") << 3000 << true << sShort;
        QTest::newRow("write fails while the file is written")
            << 40000 << false << Raised(1009, "CloseKey <sub>", "Unknown Error No. 5");
    }
    void shortSaveKeepsTheEarlierFile() {
        QFETCH(int, iLength);
        QFETCH(bool, bLinked);
        QFETCH(QString, sOutcome);
        R oKey;
        Opened(oKey).SetValue("PortNumber", R::RegDword, 1);
        oKey.CloseKey();
        const QByteArray aEarlier = mdlTestFiles::Read(R::FilePath());
        const QString sReal = oHome.Path() + "/Real.ini";
        QVERIFY(!bLinked ||
                (QFile::rename(R::FilePath(), sReal) && QFile::link(sReal, R::FilePath())));
        QCOMPARE(mdlForked::Run([&] {
                     Opened(oKey).SetValue("Text", R::RegSz, QString(iLength, u'z'));
                     const rlimit oLimit{rlim_t(iLength / 2), rlim_t(iLength / 2)};
                     std::signal(SIGXFSZ, SIG_IGN);
                     setrlimit(RLIMIT_FSIZE, &oLimit);
                     return Outcome([&] { return oKey.CloseKey(), QVariant(); });
                 }),
                 sOutcome);
        QCOMPARE(mdlTestFiles::Read(R::FilePath()), aEarlier);
        QCOMPARE(QFileInfo(R::FilePath()).isSymLink(), bLinked);
    }

    // Another copy's lock file: the save clears the empty one of a copy killed
    // while it took it, and never takes the one a live copy is letting go of.
    void otherCopysLock_data() {
        QTest::addColumn<bool>("bLive");
        QTest::addColumn<QString>("sOutcome");
        QTest::newRow("empty, its copy killed") << false << "cleared";
        QTest::newRow("full, its copy alive") << true << "kept";
    }
    void otherCopysLock() {
        QFETCH(bool, bLive);
        QFETCH(QString, sOutcome);
        const QString sLock = R::FilePath() + ".lock";
        QLockFile oLive(oHome.Path() + "/live.lock");
        QVERIFY(!bLive || oLive.lock());
        const QByteArray aLock = bLive ? mdlTestFiles::Read(oLive.fileName()) : "";
        mdlTestFiles::Write(QDir(), sLock, aLock);
        const mdlForked::Child oOther = mdlForked::Start([&] {
            QThread::msleep(2000);
            const bool bKept = QFile::exists(sLock) && mdlTestFiles::Read(sLock) == aLock;
            QFile::remove(sLock);
            return QString(bKept ? "kept" : "cleared");
        });
        R oKey;
        Opened(oKey).CloseKey();
        QCOMPARE(mdlForked::Finish(oOther), sOutcome);
    }
};

QTEST_GUILESS_MAIN(tst_clsJRT_Registry)
#include "tst_clsJRT_Registry.moc"
