#include "core/clsError.h"
#include "platform/clsJRT_Registry.h"
#include "platform/mdlDataPaths.h"
#include "tests/support/clsPrivateHome.h"
#include "tests/support/mdlForked.h"
#include "tests/support/mdlRows.h"
#include "tests/support/mdlTestFiles.h"

#include <QTest>

#include <sys/resource.h>
#include <sys/stat.h>

namespace {

using R = clsJRT_Registry;
using Action = std::function<QVariant(R&)>;

const QString sComms = QStringLiteral("SOFTWARE\\Quellis\\Tessivar\\2.6.0\\Comms");
const char* const sGet = "Value <property get>";
const char* const sLet = "Value <property let>";
const char* const sOpen = "OpenKey <funct>";
const QString sOdd = QString("C:\\tmp \"1\"\n\t%/=[;@") + QChar(0xE9) + QChar(0x4E00) + QChar(0) +
                     QString("0123456789").repeated(30);
const QByteArray aComms = "[HKEY_LOCAL_MACHINE\\" + sComms.toUtf8() + "]\nPortNumber=7\n";
const char aBadLines[] =
    "\0=\"\n=4\n\xc3(\nPortNumber=\"\\q\"\nPortNumber=\"9 9\nPortNumber=\"\\\"\n[x\n";

R& Opened(R& oKey, const QString& sSubKey = sComms, bool bCreate = true) {
    oKey.SetSubKey(sSubKey);
    oKey.SetAutoCreate(bCreate);
    oKey.OpenKey();
    return oKey;
}

QVariant PortNumber(R& oKey) {
    return Opened(oKey, sComms, false).Value("PortNumber", R::RegDword);
}

// "type value", or "number source: description" of the error raised, of
// oAction on a key of its own.
QString Outcome(const Action& oAction) {
    R oKey;
    try {
        const QVariant vResult = oAction(oKey);
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
    QFile oFile(mdlDataPaths::SettingsFile());
    if (!oFile.open(QIODevice::ReadOnly) ||
        !oFile.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                           QFile::FileModificationTime)) {
        qFatal("cannot age the settings file");
    }
}

struct MemberRow {
    const char* sName;
    Action oAction;
    QString sOutcome;
    // Read by another user than root, whom the file's mode does not stop.
    bool bAsNobody = false;
};

Action Let(qint32 rtType, QVariant vData) {
    return [=](R& o) { return Opened(o).SetValue("x", rtType, vData), QVariant(); };
}
// vData written as rtWritten, read back by another copy as rtRead.
Action RoundTrip(qint32 rtWritten, QVariant vData, qint32 rtRead) {
    return [=](R& o) {
        return Opened(o).SetValue("x", rtWritten, vData), o.CloseKey(), Reread(),
               Opened(o).Value("x", rtRead);
    };
}
// What OpenKey answers for sOpened once sCreated was made.
Action OpenAfter(const QString& sCreated, const QString& sOpened, bool bCreate) {
    return [=](R& o) {
        Opened(o, sCreated).CloseKey();
        Reread();
        o.SetSubKey(sOpened);
        o.SetAutoCreate(bCreate);
        return QVariant(o.OpenKey());
    };
}
// PortNumber from a settings file of aText, or a FIFO, of mode lMode.
Action Reading(QByteArray aText, mode_t lMode = 0644) {
    return [=](R& o) {
        const QByteArray aPath = QFile::encodeName(mdlDataPaths::SettingsFile());
        mdlTestFiles::Write(QDir(), mdlDataPaths::SettingsFile(), aText);
        if (S_ISFIFO(lMode) && (::unlink(aPath) != 0 || ::mkfifo(aPath, lMode) != 0)) {
            qFatal("cannot make a FIFO");
        }
        ::chmod(aPath, lMode);
        return PortNumber(o);
    };
}
// PortNumber from a settings file of aText and mode lMode, and what a
// save then raises.
Action ReadOnly(QByteArray aText, mode_t lMode) {
    return [=](R& o) {
        const QVariant vRead = Reading(aText, lMode)(o);
        o.SetValue("PortNumber", R::RegDword, 8);
        return QVariant(vRead.toString() + ", " +
                        Outcome([&](R&) { return o.CloseKey(), QVariant(); }));
    };
}
// A save that a file size limit cuts short: what it raised, and whether
// the earlier file stayed.
Action ShortSave(int iLength) {
    return [=](R& o) {
        Opened(o).SetValue("PortNumber", R::RegDword, 1);
        o.CloseKey();
        const QByteArray aEarlier = mdlTestFiles::Read(mdlDataPaths::SettingsFile());
        Opened(o).SetValue("Text", R::RegSz, QString(iLength, u'z'));
        const rlimit oLimit{rlim_t(iLength / 2), rlim_t(iLength / 2)};
        std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &oLimit);
        const QString sSaved = Outcome([&](R&) { return o.CloseKey(), QVariant(); });
        const bool bKept = mdlTestFiles::Read(mdlDataPaths::SettingsFile()) == aEarlier;
        return QVariant(sSaved + (bKept ? "" : " and lost the earlier file"));
    };
}

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
        const QString sMissing = Raised(1004, sOpen, "Key does not exist");
        const QString sNothing = Outcome([](R&) { return QVariant(); });
        mdlRows::Add<MemberRow>({
            {"set before OpenKey", [](R& o) { return o.SetValue("x", 1, 1), QVariant(); },
             Raised(1006, sLet, "No key opened")},
            {"get after CloseKey", [](R& o) { return Opened(o).CloseKey(), o.Value("x", 1); },
             Raised(1006, sGet, "No key opened.")},
            {"CloseKey with no key open does nothing",
             [](R& o) { return o.CloseKey(), Opened(o).CloseKey(), o.CloseKey(), QVariant(); },
             sNothing},
            {"number past 32 bits", Let(4, "2147483648"),
             QString("6 %1 --- clsJRT_Registry: Overflow").arg(sLet)},
            {"FIFO in its place", Reading({}, S_IFIFO | 0600),
             Raised(1009, sOpen, "Unknown Error No. 5")},
            {"read-only to another user: read, not saved", ReadOnly(aComms, 0444),
             "QString 7, " + Raised(1009, "CloseKey <sub>", "Unknown Error No. 5"), true},
            {"bad lines among good ones",
             Reading("x=1\n[\n\xff=\n" + aComms + QByteArray(aBadLines, sizeof aBadLines - 1)),
             "int 7"},
            {"cut inside a value", Reading(aComms + "PortNumber=57"), "int 7"},
            {"1.5 with a point in a comma locale", RoundTrip(R::RegSz, 1.5F, R::RegSz),
             "QString 1.5"},
            {"text read as REG_DWORD", RoundTrip(R::RegSz, "5", R::RegDword), sNothing},
            {"new key", OpenAfter("A", "A\\B", true), "int 1"},
            {"parent of a key made before", OpenAfter("A\\B\\C", "A\\B", false), "int 2"},
            {"quotes, backslashes, controls, 300 characters", RoundTrip(1, sOdd, 1),
             "QString " + sOdd},
            {"longer name is no child", OpenAfter("A\\BC", "A\\B", false), sMissing},
            {"save cut short", ShortSave(3000),
             "QString " + Raised(1009, "CloseKey <sub>", "Unknown Error No. 112")},
        });
    }
    // Each row runs in a copy of its own, so that a hang or a file size
    // limit stays there.
    void members() {
        QFETCH(MemberRow, oRow);
        const auto oRun = [&] { return Outcome(oRow.oAction); };
        // Any other user meets the file's mode as it is.
        const bool bNobody = oRow.bAsNobody && ::geteuid() == 0;
        const QString sFolder = QFileInfo(mdlDataPaths::SettingsFile()).path();
        QVERIFY(!bNobody || (QDir().mkpath(sFolder) && chmod(qPrintable(oHome.Path()), 0755) == 0 &&
                             chown(qPrintable(sFolder), 65534, 65534) == 0));
        QCOMPARE(bNobody ? mdlForked::RunAsNobody(oRun) : mdlForked::Run(oRun), oRow.sOutcome);
    }
};

QTEST_GUILESS_MAIN(tst_clsJRT_Registry)
#include "tst_clsJRT_Registry.moc"
