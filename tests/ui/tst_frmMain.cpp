#include "engine/clsRecentFileStore.h"
#include "engine/mdlComms.h"
#include "platform/clsJRT_Registry.h"
#include "platform/clsPortBindings.h"
#include "platform/mdlDataPaths.h"
#include "resources/mdlResources.h"
#include "tests/support/clsBoxAnswerer.h"
#include "tests/support/clsPrivateHome.h"
#include "tests/support/clsRecordingHost.h"
#include "tests/support/clsStartedWindow.h"
#include "tests/support/mdlForked.h"
#include "tests/support/mdlRows.h"
#include "tests/support/mdlTestFiles.h"
#include "ui/frmHelp.h"

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <chrono>
#include <optional>

namespace {

struct PhaseRow {
    const char* sName;
    // "enter PATH" (Enter in the path box), "type PATH" (no Enter), "run",
    // "reset", "recent" (the first recent file) or "choose PATH" (the file
    // dialog; "choose" alone cancels it)
    QStringList asSteps;
    bool bRunEnabled;
    bool bResetEnabled;
    QString sPathShown;
    qsizetype iBoxes; // the message boxes shown
};

struct RunErrorRow {
    const char* sName;
    QString sPath;
    QString sBoxStart;
    int iTopic;
    QString sStep = "run"; // or "recent": the path chosen from the recent files
};

struct RecentRow {
    const char* sName;
    QStringList asStored; // values "1", "2", ... before the window starts
    QStringList asRuns;   // paths run in turn, each made with its command file
    QStringList asAfter;  // the stored list after the runs; the menu shows four
};

struct PortRow {
    const char* sName;
    int iStored; // PortNumber in the store
    int iShown;  // the selector's entry, -1 for none
};

struct FitRow {
    const char* sName;
    const char* sFontDpi; // QT_FONT_DPI
    int iWidth, iHeight;  // the screen's
};

const QString sUnit = QStringLiteral("unit.s19");
const QString sNoCommandFile = "Error Number: 2002\r\nUnable to determine command file name.\r\n"
                               "Check that the record file name is valid.";

// clang-format off
const PhaseRow aPhases[] = {
    {"window load", {}, false, false, "", 0},
    {"file chosen with Enter", {"enter unit.s19"}, true, false, "unit.s19", 0},
    {"a name with no command file", {"enter unit.s19", "enter nodot"}, false, false, "nodot", 1},
    {"upload over after a failure", {"enter unit.s19", "run"}, false, true, "unit.s19", 1},
    {"re-armed by Reset", {"enter unit.s19", "run", "reset"}, true, false, "unit.s19", 1},
    {"dialog choice", {"enter unit.s19", "run", "choose bad.s19"}, true, false, "bad.s19", 1},
    {"dialog cancelled after a choice", {"enter unit.s19", "choose"}, false, false, "unit.s19", 0},
    {"Reset commits the path box", {"enter unit.s19", "run", "type nodot", "reset"}, false, false,
     "nodot", 2},
};

const RunErrorRow aRunErrors[] = {
    {"command file missing", "nocmd.s19", "Error Number: 2001\r\n", 8},
    {"checksum error", "bad.s19",
     "Error Number: 2201\r\nApplication file may be corrupt.\r\n"
     "Line in application file has a checksum error.", 0},
    {"path edited into a name with no command file, no Enter", "nodot", sNoCommandFile, -1},
    {"a recent file with no command file", "nodot", sNoCommandFile, 9, "recent"},
};

const RecentRow aRecent[] = {
    {"five files in turn", {}, {"a.s19", "b.s19", "c.s19", "d.s19", "e.s19"},
     {"e.s19", "d.s19", "c.s19", "b.s19"}},
    {"a listed file again", {"a.s19", "b.s19", "c.s19"}, {"b.s19"}, {"a.s19", "b.s19", "c.s19"}},
    {"more than four stored", {"a.s19", "b.s19", "c.s19", "d.s19", "e.s19", "f.s19"}, {"g.s19"},
     {"g.s19", "a.s19", "b.s19", "c.s19", "e.s19", "f.s19"}},
};

const FitRow aFits[] = {
    {"144 dpi on 1280 x 800", "144", 1280, 800},
    {"192 dpi on 1280 x 800", "192", 1280, 800},
    {"192 dpi on 1920 x 1080", "192", 1920, 1080},
};

const PortRow aPorts[] = {
    {"port 5 stored", 5, 4},
    {"port 0 stored", 0, -1},
    {"port 17 stored", 17, 0},
};
// clang-format on

} // namespace

class tst_frmMain : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;
    QTemporaryDir oDir;
    const QString sRecentKey = mdlResources::SettingsKeyPath() + "Recent Files";
    std::optional<clsStartedWindow> oUnit;
    std::optional<clsBoxAnswerer> oAnswerer;

    QString InDir(const QString& sName) const {
        return sName.isEmpty() ? sName : oDir.filePath(sName);
    }

    // An application file with its command file, for an id-18 board.
    void WriteUnit(const QString& sName,
                   const QByteArray& aRecords = "S10B01000102030405060708CF") {
        mdlTestFiles::Write(QDir(oDir.path()), sName.chopped(4) + ".cmd", "12\r\nFF\r\n");
        mdlTestFiles::Write(QDir(oDir.path()), sName, aRecords);
    }

    void Do(const QString& sStep) {
        const QString sArgument = sStep.section(u' ', 1);
        if (sStep.startsWith("enter") || sStep.startsWith("type")) {
            oUnit->Type(InDir(sArgument), sStep.startsWith("enter"));
        } else if (sStep == "run") {
            oUnit->Button("cmdRunStop")->click();
        } else if (sStep == "recent") {
            oUnit->oWindow.FilesOpened({});
            oUnit->Find<QAction>("mnuFileMRU0")->trigger();
        } else if (sStep == "reset") {
            oUnit->Button("cmdReset")->click();
        } else if (sStep.startsWith("choose")) {
            // The dialog answered as the technician would.
            QTimer::singleShot(0, this, [this, sArgument] {
                auto* oDialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                oDialog->selectFile(InDir(sArgument));
                auto* oAnswered = static_cast<QDialog*>(oDialog);
                sArgument.isEmpty() ? oAnswered->reject() : oAnswered->accept();
            });
            oUnit->Button("cmdBrowse")->click();
        }
    }

    static void Store(const QString& sKey, const QString& sName, qint32 iType,
                      const QVariant& vValue) {
        clsJRT_Registry oRegistry;
        oRegistry.SetAutoCreate(true);
        oRegistry.SetSubKey(sKey);
        oRegistry.OpenKey();
        oRegistry.SetValue(sName, iType, vValue);
        oRegistry.CloseKey();
    }

    // The entry the help window selects in its contents: empty for none,
    // "no help" without a help window.
    static QString HelpSection() {
        for (const QWidget* oWindow : QApplication::topLevelWidgets()) {
            if (qobject_cast<const frmHelp*>(oWindow) != nullptr && oWindow->isVisible()) {
                const QTreeWidgetItem* oEntry = oWindow->findChild<QTreeWidget*>()->currentItem();
                return oEntry == nullptr ? QString() : oEntry->text(0);
            }
        }
        return "no help";
    }

    static bool HelpShown() { return HelpSection() != "no help"; }

private slots:
    void initTestCase() {
        // The help where the program looks for it, beside the program.
        const QString sHelp = QCoreApplication::applicationDirPath() + "/help/index.html";
        QDir().mkpath(QFileInfo(sHelp).path());
        QFile::remove(sHelp);
        QVERIFY(QFile::copy(TESSIVAR_HELP_FILE, sHelp));
        WriteUnit(sUnit);
        WriteUnit("bad.s19", "S10B0100010203040506070800");
        mdlTestFiles::Write(QDir(oDir.path()), "nocmd.s19", "S9030000FC\r\n");
    }

    void init() {
        QFile::remove(mdlDataPaths::SettingsFile());
        oAnswerer.emplace();
    }

    void cleanup() {
        oUnit.reset();
        oAnswerer.reset();
    }

    void phases_data() { mdlRows::Add(aPhases); }

    void phases() {
        QFETCH(PhaseRow, oRow);
        oUnit.emplace();
        for (const QString& sStep : oRow.asSteps) {
            Do(sStep);
        }
        QCOMPARE(oUnit->Button("cmdRunStop")->isEnabled(), oRow.bRunEnabled);
        QCOMPARE(oUnit->Button("cmdReset")->isEnabled(), oRow.bResetEnabled);
        QCOMPARE(oUnit->oWindow.PathName(), InDir(oRow.sPathShown));
        QVERIFY(oUnit->Button("cmdBrowse")->isEnabled());
        QCOMPARE(oAnswerer->aBoxes.size(), oRow.iBoxes);
    }

    // Each failure to start an upload ends in its box, with its help topic.
    void runErrors_data() { mdlRows::Add(aRunErrors); }

    void runErrors() {
        QFETCH(RunErrorRow, oRow);
        oUnit.emplace();
        Do("enter " + sUnit);
        Do("type " + oRow.sPath);
        // The help opens beside the box, which stays open.
        bool bHelpBesideBox = false;
        // Reset is offered once the box is closed, not behind it.
        bool bResetBehindBox = true;
        oAnswerer->oWhileOpen = [&](QMessageBox& oBox) {
            oBox.button(QMessageBox::Help)->click();
            bHelpBesideBox = oBox.isVisible() && HelpShown();
            bResetBehindBox = oUnit->Button("cmdReset")->isEnabled();
        };
        Do(oRow.sStep);
        QVERIFY(bHelpBesideBox);
        QVERIFY(!bResetBehindBox);
        QCOMPARE(oAnswerer->aBoxes.size(), 1);
        const clsBoxAnswerer::Box oBox = oAnswerer->aBoxes.first();
        QCOMPARE(oBox.sCaption, "FATAL ERROR");
        QVERIFY2(oBox.sText.startsWith(oRow.sBoxStart), qPrintable(oBox.sText));
        QCOMPARE(oBox.iHelpTopic, oRow.iTopic);
    }

    // Help Topics opens the help, F1 at the topic of the box in front, else
    // at its contents; without the help, a box says so.
    void helpKeyAndTopics() {
        oUnit.emplace();
        oUnit->Find<QAction>("mnuHelpTopics")->trigger();
        QVERIFY(HelpShown());
        QString sShown;
        oAnswerer->oWhileOpen = [&](QMessageBox& oBox) {
            QTest::keyClick(&oBox, Qt::Key_F1);
            sShown = HelpSection();
        };
        Do("enter gone.s19");
        Do("run");
        QCOMPARE(sShown, "Unable to open application file (2000)");
        QTest::keyClick(&oUnit->oWindow, Qt::Key_F1);
        QCOMPARE(HelpSection(), "");
        oAnswerer->oWhileOpen = {};
        oUnit->oApp.HelpFile().SetViewer(nullptr);
        oUnit->Find<QAction>("mnuHelpTopics")->trigger();
        QCOMPARE(oAnswerer->aBoxes.last().sText, "Help not available");
    }

    void recentFiles_data() { mdlRows::Add(aRecent); }

    void recentFiles() {
        QFETCH(RecentRow, oRow);
        for (int i = 0; i < oRow.asStored.size(); ++i) {
            Store(sRecentKey, QString::number(i + 1), clsJRT_Registry::RegSz,
                  InDir(oRow.asStored.at(i)));
        }
        oUnit.emplace();
        for (const QString& sRun : oRow.asRuns) {
            WriteUnit(sRun);
            Do("enter " + sRun);
            Do("run");
        }
        const QStringList asStored = clsRecentFileStore(oUnit->oApp).List();
        for (int i = 0; i < 6; ++i) {
            const QString sPath = InDir(oRow.asAfter.value(i));
            QCOMPARE(asStored.value(i), sPath);
            if (i < 4) {
                const auto* oEntry =
                    oUnit->Find<QAction>(qPrintable(QString("mnuFileMRU%1").arg(i)));
                QCOMPARE(oEntry->isVisible(), !sPath.isEmpty());
                QCOMPARE(oEntry->data().toString(), sPath);
            }
        }
        QVERIFY(oUnit->Find<QAction>("mnuFileSep1")->isVisible());
    }

    // Two windows that add a file to the list at nearly the same moment,
    // the second up to 3 ms after the first, both keep it listed.
    void recentFilesOfTwoWindows() {
        using namespace std::chrono;
        const auto oRecent = [](const QString& sPath, nanoseconds lAt = {}) {
            return [sPath, lAt] {
                clsRecordingHost oHost;
                clsApplication oApp(oHost);
                clsRecentFileStore oStore(oApp);
                while (system_clock::now().time_since_epoch() < lAt) {
                }
                if (!sPath.isEmpty()) {
                    oStore.Add(sPath);
                }
                return oStore.List().join(u',');
            };
        };
        for (int i = 0; i < 20; ++i) {
            const QString sA = QStringLiteral("a%1").arg(i);
            const QString sB = QStringLiteral("b%1").arg(i);
            const nanoseconds lAt = system_clock::now().time_since_epoch() + milliseconds(60);
            const mdlForked::Child oA = mdlForked::Start(oRecent(sA, lAt));
            const mdlForked::Child oB = mdlForked::Start(oRecent(sB, lAt + i * microseconds(150)));
            mdlForked::Finish(oA);
            mdlForked::Finish(oB);
            const QStringList asList = mdlForked::Run(oRecent({})).split(u',');
            QVERIFY2(asList.contains(sA) && asList.contains(sB), qPrintable(asList.join(u',')));
        }
    }

    // At a large font on a small screen, with a long device name bound to
    // the port shown, every control is whole on the screen's available area.
    void fitsTheScreen_data() { mdlRows::Add(aFits); }

    void fitsTheScreen() {
        QFETCH(FitRow, oRow);
        clsPortBindings oBindings(mdlComms::CommsKeyPath());
        QVERIFY(oBindings.Bind(1, "/dev/serial/by-id/usb-Maker_Adapter_A50285BI-if00-port0") &&
                oBindings.Store());
        const QString sScreen = QStringLiteral(R"({"screens": [{"name": "s", "x": 0, "y": 0,
            "width": %1, "height": %2, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
        const QString sConfig = mdlTestFiles::Write(
            QDir(oDir.path()), "screen.json", sScreen.arg(oRow.iWidth).arg(oRow.iHeight).toUtf8());
        QProcessEnvironment oEnvironment = QProcessEnvironment::systemEnvironment();
        oEnvironment.insert("QT_FONT_DPI", oRow.sFontDpi);
        oEnvironment.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + sConfig);
        QProcess oChild;
        oChild.setProcessEnvironment(oEnvironment);
        oChild.start(FIT_WINDOW_CHILD);
        QVERIFY(oChild.waitForFinished(60000));
        QCOMPARE(oChild.readAllStandardOutput(), QByteArray());
        QCOMPARE(oChild.exitCode(), 0);
    }

    // The stored port is selected at load without storing; a choice of
    // the technician is stored at once, selected at the next start and
    // opened by every upload of this window.
    void portSelector_data() { mdlRows::Add(aPorts); }

    void portSelector() {
        QFETCH(PortRow, oRow);
        Store(mdlComms::CommsKeyPath(), "PortNumber", clsJRT_Registry::RegDword, oRow.iStored);
        const QByteArray aStored = mdlTestFiles::Read(mdlDataPaths::SettingsFile());
        oUnit.emplace();
        auto* oPorts = oUnit->Find<QComboBox>("cboPortNumber");
        QCOMPARE(oPorts->currentIndex(), oRow.iShown);
        QCOMPARE(mdlTestFiles::Read(mdlDataPaths::SettingsFile()), aStored);
        oPorts->setCurrentIndex(6);
        emit oPorts->activated(6);
        clsPortBindings oBindings(mdlComms::CommsKeyPath());
        oBindings.Load();
        QVERIFY(oBindings.Bind(7, "/dev/null") && oBindings.Store());
        oUnit.emplace();
        QCOMPARE(oUnit->Find<QComboBox>("cboPortNumber")->currentText(), "7");
        // A device that is there carries no mark that it is not.
        const QString sShown = oUnit->Find<QLabel>("lblPortDevice")->text();
        QVERIFY2(sShown.startsWith("/dev/null") && !sShown.contains("(not present)"),
                 qPrintable(sShown));
        // Another copy's choice, stored since, stays that copy's: each Run
        // opens the port shown, and shows the device bound to it now.
        Store(mdlComms::CommsKeyPath(), "PortNumber", clsJRT_Registry::RegDword, 3);
        QVERIFY(oBindings.Bind(7, "/gone/tty7") && oBindings.Store());
        for (const QString& sStep : QStringList{"enter " + sUnit, "run", "enter " + sUnit, "run"}) {
            Do(sStep);
        }
        QCOMPARE(oAnswerer->aBoxes.size(), 2);
        for (const clsBoxAnswerer::Box& oBox : oAnswerer->aBoxes) {
            QVERIFY2(oBox.sText.contains("COM7 "), qPrintable(oBox.sText));
        }
        QCOMPARE(oUnit->Find<QLabel>("lblPortDevice")->text(), "/gone/tty7  (not present)");
        // Reset with no file to commit leaves its closing line standing.
        Do("type ");
        Do("reset");
        QVERIFY2(oUnit->Log().endsWith("COM7 closed"), qPrintable(oUnit->Log()));
    }

    // An event run inside a status write could tear down what the writer
    // still uses, so none may run.
    void statusWritesRunNoEvents() {
        oUnit.emplace();
        // Past the load's own lines, whose repaint would hold back the next.
        QTest::qWait(100);
        bool bTimerRan = false;
        QTimer::singleShot(0, this, [&] { bTimerRan = true; });
        QPointer<QObject> oDoomed = new QObject;
        oDoomed->deleteLater();
        oUnit->oWindow.Status(QStringLiteral("Reading 'S' records"));
        oUnit->oWindow.ShowWaitDots();
        QVERIFY(!bTimerRan && !oDoomed.isNull());
        QTRY_VERIFY(bTimerRan);
    }
};

QTEST_MAIN(tst_frmMain)
#include "tst_frmMain.moc"
