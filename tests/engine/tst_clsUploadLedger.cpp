#include "engine/clsApplication.h"
#include "engine/clsUploadLedger.h"
#include "platform/clsFileLock.h"
#include "platform/mdlDataPaths.h"
#include "tests/support/clsPrivateHome.h"
#include "tests/support/clsPseudoTerminal.h"
#include "tests/support/clsUploadingHost.h"
#include "tests/support/mdlTestFiles.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

// The ledger as the engine keeps it: on disk before anyone hears of the
// end, the files as read, and no upload held by another program's lock.
namespace {

QList<QByteArray> LedgerLines() {
    return mdlTestFiles::Read(mdlDataPaths::LedgerFile()).split('\n');
}

QJsonObject Entry(const QByteArray& aLine) {
    return QJsonDocument::fromJson(aLine).object();
}

} // namespace

class tst_clsUploadLedger : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;
    QTemporaryDir oDir;
    clsUploadingHost oHost;
    clsApplication oApp{oHost};
    clsUploadSequence oSequence{oApp};
    clsUploadLedger oLedger{oApp, oSequence};

private slots:
    void init() { QFile::remove(mdlDataPaths::LedgerFile()); }

    void lineIsOnDiskBeforeTheEndIsTold() {
        mdlTestFiles::Write(QDir(oDir.path()), "unit.cmd", "16\r\nFF\r\n1,4000,7FFF,E\r\n");
        const QString sUnit =
            mdlTestFiles::Write(QDir(oDir.path()), "unit.s19", "S10B4000000102030405060798\r\n");
        const clsPseudoTerminal oLine;
        oHost.asDevices = QStringList{oLine.SlavePath()};
        QVERIFY(!oSequence.Run(sUnit));
        const QObject oListener;
        QList<QByteArray> aAtEnd;
        connect(&oSequence, &clsUploadSequence::Ended, &oListener, [&] { aAtEnd = LedgerLines(); });
        oSequence.Stop();
        QCOMPARE(aAtEnd.size(), 2);
        QCOMPARE(Entry(aAtEnd.first())["state"].toString(), "WaitTarget");
        QCOMPARE(Entry(aAtEnd.first())["target"].toInt(), 22);
    }

    // A file replaced under its name once opened, as a rebuild does while
    // the window stores its recent files: the line names what was read.
    void filesAreRecordedAsRead() {
        const QDir oFolder(oDir.path());
        mdlTestFiles::Write(oFolder, "unit.cmd", "16\r\nFF\r\n");
        const QByteArray aRead = mdlTestFiles::WithCheckSum("S10540000102").toLatin1() + "\r\n";
        const QString sUnit = mdlTestFiles::Write(oFolder, "unit.s19", aRead);
        oHost.oOnFilesOpened = [&] {
            QFile::remove(sUnit);
            mdlTestFiles::Write(oFolder, "unit.s19", "S9030000FC\r\n");
        };
        const auto oForget = qScopeGuard([&] { oHost.oOnFilesOpened = nullptr; });
        oHost.asDevices.clear();
        QVERIFY(oSequence.Run(sUnit));
        const QJsonObject oLine = Entry(LedgerLines().first());
        QCOMPARE(oLine["file_sha256"].toString(), mdlTestFiles::Sha256(aRead));
        QCOMPARE(oLine["file_size"].toInt(), aRead.size());
    }

    // Another program stopped while it held the ledger (Ctrl+Z): the upload
    // still ends, and says its entry is not there; an entry added without
    // the lock could be cut back by the holder.
    void heldLedgerHoldsNoUpload() {
        clsFileLock oHeld(mdlDataPaths::LedgerFile());
        QVERIFY(oHeld.Lock(0));
        const QSignalSpy oTold(&oLedger, &clsUploadLedger::Unwritable);
        QCOMPARE(oSequence.Run(oDir.filePath("absent.s19"))->Code(), 2000);
        QCOMPARE(oTold.size(), 1);
        QVERIFY(!QFile::exists(mdlDataPaths::LedgerFile()));
    }
};

QTEST_GUILESS_MAIN(tst_clsUploadLedger)
#include "tst_clsUploadLedger.moc"
