#include "engine/mdlComms.h"
#include "tests/support/clsBoxAnswerer.h"
#include "tests/support/clsPrivateHome.h"
#include "tests/support/mdlRows.h"
#include "ui/frmPortDevice.h"

#include "tests/support/mdlTestFiles.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QOperatingSystemVersion>
#include <QPushButton>
#include <QTest>

namespace {

constexpr qint16 iPort = 3;

struct Row {
    const char* sName;
    QString sBefore, sAfter; // the device of the port, as stored
    QString sTyped;          // empty: the adapter chosen from the list instead
    const char* sButton;
    bool bRefused;
};

struct KeyRow {
    const char* sName;
    QString sKeys; // typed into whatever has the focus; "\t" is Tab
    QString sAfter;
};

// clang-format off
const KeyRow aKeyRows[] = {
    {"typing goes to the path box", "/dev/pts/9", "/dev/pts/9"},
    {"Enter on the list with nothing chosen binds nothing", "\t", ""},
};
// clang-format on

// Where port n is COMn until it is bound.
const bool bWindows = QOperatingSystemVersion::currentType() == QOperatingSystemVersion::Windows;

// clang-format off
const Row aComRows[] = {
    {"a typed COM port", "", "COM23", "COM23", "cmdOK", false},
    {"unbind: the port's own COM port", "COM23", "COM3", {}, "cmdUnbind", false},
    {"a path is refused", "COM23", "COM23", "/dev/ttyUSB0", "cmdOK", true},
};
// clang-format on

} // namespace

class tst_frmPortDevice : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;
    QTemporaryDir oById;
    const QString sA = oById.filePath("usb-Maker_Adapter-if00");

private slots:
    void initTestCase() { mdlTestFiles::Write(QDir(), sA, ""); }

    void choice_data() {
        // clang-format off
        const Row aRows[] = {
            {"a listed device", "", sA, {}, "cmdOK", false},
            {"unbind", sA, "", {}, "cmdUnbind", false},
            {"a relative path is refused", sA, sA, "ttyUSB0", "cmdOK", true},
        };
        // clang-format on
        bWindows ? mdlRows::Add(aComRows) : mdlRows::Add(aRows);
    }

    // What the technician chose is stored for the port; a refused choice
    // leaves the dialog open and the store as it was.
    void choice() {
        QFETCH(Row, oRow);
        clsPortBindings oBefore(mdlComms::CommsKeyPath());
        oBefore.Bind(iPort, oRow.sBefore);
        QVERIFY(oBefore.Store());
        frmPortDevice oDialog(iPort, nullptr, oById.path());
        oDialog.show();
        auto* oList = oDialog.findChild<QListWidget*>("lstDevices");
        oList->setCurrentItem(oList->findItems(sA, Qt::MatchStartsWith).value(0));
        if (!oRow.sTyped.isEmpty()) {
            oDialog.findChild<QLineEdit*>("txtDevicePath")->setText(oRow.sTyped);
        }
        clsBoxAnswerer oAnswerer;
        oDialog.findChild<QPushButton*>(oRow.sButton)->click();
        QCOMPARE(oAnswerer.aBoxes.size(), oRow.bRefused ? 1 : 0);
        QCOMPARE(oDialog.isVisible(), oRow.bRefused);
        clsPortBindings oAfter(mdlComms::CommsKeyPath());
        oAfter.Load();
        QCOMPARE(oAfter.Device(iPort), oRow.sAfter);
    }

    // The keyboard binds only what the technician typed or chose, with a
    // device listed and the port unbound.
    void keyboard_data() { mdlRows::Add(aKeyRows); }

    void keyboard() {
        QFETCH(KeyRow, oRow);
        if (bWindows) {
            QSKIP("A port not bound stands for its own COM port, shown chosen.");
        }
        clsPortBindings oBefore(mdlComms::CommsKeyPath());
        oBefore.Unbind(iPort);
        QVERIFY(oBefore.Store());
        frmPortDevice oDialog(iPort, nullptr, oById.path());
        oDialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&oDialog));
        clsBoxAnswerer oAnswerer;
        QTest::keyClicks(QApplication::focusWidget(), oRow.sKeys);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(oAnswerer.aBoxes.size(), oRow.sAfter.isEmpty() ? 1 : 0);
        clsPortBindings oAfter(mdlComms::CommsKeyPath());
        oAfter.Load();
        QCOMPARE(oAfter.Device(iPort), oRow.sAfter);
    }
};

QTEST_MAIN(tst_frmPortDevice)
#include "tst_frmPortDevice.moc"
