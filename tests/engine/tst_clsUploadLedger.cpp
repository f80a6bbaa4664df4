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
#include <QMap>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>

// The ledger as the engine keeps it: on disk before anyone hears of the
// end, whole lines from programs that add at once, and the files as read.
namespace {

constexpr int iRunsPerProgram = 200;

QList<QByteArray> LedgerLines() {
    return mdlTestFiles::Read(mdlDataPaths::LedgerFile()).split('\n');
}

QJsonObject Entry(const QByteArray& aLine) {
    return QJsonDocument::fromJson(aLine).object();
}

// Helper mode: Runs of an application file that is not there, a line each.
int FailingRuns(const QString& sFile) {
    clsRecordingHost oHost;
    clsApplication oApp(oHost);
    clsUploadSequence oSequence(oApp);
    const clsUploadLedger oLedger(oApp, oSequence);
    for (int i = 0; i < iRunsPerProgram; ++i) {
        oSequence.Run(sFile);
    }
    return 0;
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

    // After a line a failed write left without its end.
    void twoProgramsAddingAtOnceKeepEveryLineWhole() {
        mdlTestFiles::Write(QDir(), mdlDataPaths::LedgerFile(), "{\"start\":");
        QProcess aPrograms[2];
        const QStringList asFiles = {oDir.filePath("a.s19"), oDir.filePath("b.s19")};
        for (int i = 0; i < 2; ++i) {
            aPrograms[i].start(QCoreApplication::applicationFilePath(),
                               {"--failing-runs", asFiles.at(i)});
        }
        for (QProcess& oProgram : aPrograms) {
            QVERIFY(oProgram.waitForFinished(60'000) && oProgram.exitCode() == 0);
        }
        const QList<QByteArray> aLines = LedgerLines();
        QCOMPARE(aLines.size(), 2 * iRunsPerProgram + 2);
        QMap<QString, int> aPerFile;
        for (const QByteArray& aLine : aLines.sliced(1, 2 * iRunsPerProgram)) {
            QCOMPARE(Entry(aLine)["code"].toInt(), 2000);
            ++aPerFile[Entry(aLine)["file"].toString()];
        }
        QCOMPARE(aPerFile.value(asFiles.at(0)), iRunsPerProgram);
        QCOMPARE(aPerFile.value(asFiles.at(1)), iRunsPerProgram);
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

int main(int argc, char* argv[]) {
    const QCoreApplication oQtApplication(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--failing-runs") == 0) {
        return FailingRuns(QString::fromLocal8Bit(argv[2]));
    }
    tst_clsUploadLedger oTest;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&oTest, argc, argv);
}

#include "tst_clsUploadLedger.moc"
