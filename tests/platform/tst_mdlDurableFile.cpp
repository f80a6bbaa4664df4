#include "platform/clsFileLock.h"
#include "platform/mdlDurableFile.h"
#include "tests/platform/mdlFileCases.h"
#include "tests/support/mdlRows.h"
#include "tests/support/mdlTestFiles.h"

#include <QTemporaryDir>
#include <QTest>

#include <optional>

// The durable-file layer on each system: a replaced file is there whole,
// old or new, whatever stops the program; an entry is added whole; an empty
// lock file that a killed taker left is taken over once stale, and never
// while a taker holds it; only ordinary files are opened.
namespace {

using mdlDurableFile::eWritten;

// Thrown at a named point as a kill would stop the program there.
struct Stopped {};

QByteArray gaStopAt;

void StopAt(const char* sPoint) {
    if (gaStopAt == sPoint) {
        throw Stopped();
    }
}

QString Outcome(eWritten iWritten, const QString& sWhy) {
    const char* asWritten[] = {"written", "no room", "refused"};
    return QLatin1String(asWritten[int(iWritten)]) +
           (sWhy.isEmpty() ? QString() : QStringLiteral(", said why"));
}

struct ReplaceRow {
    const char* sName;
    // Null where there is no file.
    QByteArray aOld;
    bool bUncommon;
    bool bReadOnly;
    const char* sOutcome;
    QByteArray aAfter;
};

const ReplaceRow aReplaceRows[] = {
    {"where no file was", {}, false, false, "written", "new\n"},
    {"over a file of an uncommon mode", "old\n", true, false, "written", "new\n"},
    {"over a read-only file", "old\n", false, true, "refused, said why", "old\n"},
};

// What a row gives (a point to stop at, a file's content) and the file's
// content after.
struct BytesRow {
    const char* sName;
    QByteArray aGiven;
    QByteArray aAfter;
};

const BytesRow aStopRows[] = {
    {"the new file whole beside the old", "replacing", "old\n"},
    {"the new file in place", "written", "new\n"},
};

// Null where there is no file.
const BytesRow aAppendRows[] = {
    {"to a missing file", {}, "{\"n\":2}\n"},
    {"after a line ended as on Windows", "{\"n\":1}\r\n", "{\"n\":1}\r\n{\"n\":2}\n"},
    {"after a line a killed writer left torn", "{\"n\":1}\n{\"n", "{\"n\":1}\n{\"n\n{\"n\":2}\n"},
};

struct LockRow {
    const char* sName;
    int lAgeMs;
    bool bHeld;
    bool bTaken;
};

const LockRow aLockRows[] = {
    {"under a second old", 500, false, false},
    {"over a second old", 1500, false, true},
    {"over a second old, its taker filling it", 1500, true, false},
};

} // namespace

class tst_mdlDurableFile : public QObject {
    Q_OBJECT

    // Holds what the rows of the refused paths make.
    QTemporaryDir oCases;
    std::optional<QTemporaryDir> oFolder;

    QString Store() const { return oFolder->filePath(QStringLiteral("store")); }
    QStringList Files() const {
        return QDir(oFolder->path()).entryList(QDir::Files | QDir::Hidden);
    }

private slots:
    void init() { oFolder.emplace(); }

    void replaceLeavesAWholeFile_data() { mdlRows::Add(aReplaceRows); }

    void replaceLeavesAWholeFile() {
        QFETCH(ReplaceRow, oRow);
        if (!oRow.aOld.isNull()) {
            mdlTestFiles::Write(QDir(), Store(), oRow.aOld);
        }
        if (oRow.bUncommon) {
            mdlFileCases::MakeUncommon(Store());
        }
        if (oRow.bReadOnly) {
            QVERIFY(QFile::setPermissions(Store(), QFile::ReadOwner | QFile::ReadOther));
        }
        const QString sOutcome = mdlFileCases::WithoutRights(oFolder->path(), [&] {
            QString sWhy;
            return Outcome(mdlDurableFile::Replace(Store(), "new\n", sWhy), sWhy);
        });
        QCOMPARE(sOutcome, oRow.sOutcome);
        QCOMPARE(mdlTestFiles::Read(Store()), oRow.aAfter);
        QCOMPARE(mdlFileCases::IsUncommon(Store()), oRow.bUncommon);
        QCOMPARE(Files(), QStringList{"store"});
    }

    void replaceStoppedAtAPoint_data() { mdlRows::Add(aStopRows); }

    // The file is old or new, and the next change goes in and takes away
    // what the stopped one left.
    void replaceStoppedAtAPoint() {
        QFETCH(BytesRow, oRow);
        mdlTestFiles::Write(QDir(), Store(), "old\n");
        gaStopAt = oRow.aGiven;
        mdlDurableFile::SetPointHook(StopAt);
        QString sWhy;
        QVERIFY_THROWS_EXCEPTION(Stopped, mdlDurableFile::Replace(Store(), "new\n", sWhy));
        mdlDurableFile::SetPointHook(nullptr);
        QCOMPARE(mdlTestFiles::Read(Store()), oRow.aAfter);
        QCOMPARE(mdlDurableFile::Replace(Store(), "next\n", sWhy), eWritten::Written);
        QCOMPARE(mdlTestFiles::Read(Store()), "next\n");
        QCOMPARE(Files(), QStringList{"store"});
    }

    void appendAddsAWholeEntry_data() { mdlRows::Add(aAppendRows); }

    // Read back as the programs read it, byte for byte.
    void appendAddsAWholeEntry() {
        QFETCH(BytesRow, oRow);
        if (!oRow.aGiven.isNull()) {
            mdlTestFiles::Write(QDir(), Store(), oRow.aGiven);
        }
        QString sWhy;
        QVERIFY2(mdlDurableFile::Append(Store(), "{\"n\":2}\n", sWhy), qPrintable(sWhy));
        QByteArray aText;
        QCOMPARE(mdlDurableFile::ReadWhole(Store(), 1000, aText, sWhy),
                 mdlDurableFile::eOpened::Opened);
        QCOMPARE(aText, oRow.aAfter);
    }

    void anEmptyLockIsTakenOverOnceStale_data() { mdlRows::Add(aLockRows); }

    void anEmptyLockIsTakenOverOnceStale() {
        QFETCH(LockRow, oRow);
        const QString sLock = mdlTestFiles::Write(QDir(), Store() + ".lock", "");
        QFile oAged(sLock);
        QVERIFY(oAged.open(QIODevice::ReadWrite));
        QVERIFY(oAged.setFileTime(QDateTime::currentDateTime().addMSecs(-oRow.lAgeMs),
                                  QFileDevice::FileModificationTime));
        oAged.close();
        std::shared_ptr<void> oTaker = oRow.bHeld ? mdlFileCases::HoldAsTaker(sLock) : nullptr;
        clsFileLock oLock(Store());
        QCOMPARE(oLock.Lock(0), oRow.bTaken);
        QCOMPARE(oLock.Busy(), !oRow.bTaken);
        // Nor is it marked to go once the taker lets go.
        oTaker.reset();
        QVERIFY(QFile::exists(sLock));
    }

    void onlyOrdinaryFilesAreOpened_data() {
        QTest::addColumn<QString>("sPath");
        QTest::addColumn<QString>("sKind");
        for (const mdlFileCases::Other& oOther : mdlFileCases::NotOrdinary(oCases.path())) {
            QTest::newRow(oOther.sName) << oOther.sPath << oOther.sKind;
        }
    }

    // Neither read nor added to, and nothing is made under the name.
    void onlyOrdinaryFilesAreOpened() {
        QFETCH(QString, sPath);
        QFETCH(QString, sKind);
        const QString sWords = QStringLiteral("not an ordinary file but ") + sKind;
        const QStringList asBefore = QDir(oCases.path()).entryList();
        QByteArray aText;
        QString sRead;
        QCOMPARE(mdlDurableFile::ReadWhole(sPath, 1000, aText, sRead),
                 mdlDurableFile::eOpened::Refused);
        QString sAdded;
        QVERIFY(!mdlDurableFile::Append(sPath, "{}\n", sAdded));
        QCOMPARE(QStringList({sRead, sAdded}), QStringList({sWords, sWords}));
        QCOMPARE(mdlOrdinaryFile::NotOrdinary(sPath), sWords);
        QCOMPARE(QDir(oCases.path()).entryList(), asBefore);
    }
};

QTEST_GUILESS_MAIN(tst_mdlDurableFile)
#include "tst_mdlDurableFile.moc"
