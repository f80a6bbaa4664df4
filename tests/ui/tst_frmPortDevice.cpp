#include "engine/mdlComms.h"
#include "tests/support/clsBoxAnswerer.h"
#include "tests/support/clsPrivateHome.h"
#include "tests/support/mdlRows.h"
#include "ui/frmPortDevice.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

constexpr qint16 iPort = 3;

struct Row {
    const char* sName;
    QStringList asBefore, asAfter; // the devices of ports 1 to 3, as stored
    QString sTyped;                // empty: the adapter chosen from the list instead
    const char* sButton;
    bool bRefused;
};

// Stores asDevices as ports 1, 2, ... and nothing else.
void Preset(const QStringList& asDevices) {
    clsPortBindings oBindings(mdlComms::CommsKeyPath());
    for (qint16 iNumber = 1; iNumber <= asDevices.size(); ++iNumber) {
        oBindings.Bind(iNumber, asDevices[iNumber - 1]);
    }
    QVERIFY(oBindings.Store());
}

} // namespace

class tst_frmPortDevice : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;
    QTemporaryDir oById;
    const QString sA = oById.filePath("usb-Maker_Adapter-if00");

private slots:
    void initTestCase() { QVERIFY(QFile::link("/dev/null", sA)); }

    void choice_data() {
        // clang-format off
        const Row aRows[] = {
            {"a listed device", {}, {"", "", sA}, {}, "cmdOK", false},
            {"a typed pseudo-terminal", {}, {"", "", "/dev/pts/7"}, "/dev/pts/7", "cmdOK", false},
            {"unbind", {"", "", sA}, {"", "", ""}, {}, "cmdUnbind", false},
            {"a relative path is refused", {"", "", sA}, {"", "", sA}, "ttyUSB0", "cmdOK", true},
        };
        // clang-format on
        mdlRows::Add(aRows);
    }

    void choice() {
        QFETCH(Row, oRow);
        Preset(oRow.asBefore);
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
        QCOMPARE((QStringList{oAfter.Device(1), oAfter.Device(2), oAfter.Device(3)}), oRow.asAfter);
    }

    // Each device with the number it stands for; the port's own even when gone.
    void listing() {
        Preset({sA, "", "/dev/unplugged"});
        frmPortDevice oDialog(iPort, nullptr, oById.path());
        auto* oList = oDialog.findChild<QListWidget*>("lstDevices");
        QStringList asMarked; // the machine's own ports are neither bound nor gone
        for (const QListWidgetItem* oItem : oList->findItems("  (", Qt::MatchContains)) {
            asMarked << oItem->text();
        }
        QCOMPARE(asMarked,
                 (QStringList{sA + "  (port 1)", "/dev/unplugged  (port 3)  (not present)"}));
        QCOMPARE(oDialog.findChild<QLineEdit*>("txtDevicePath")->text(), "/dev/unplugged");
    }
};

QTEST_MAIN(tst_frmPortDevice)
#include "tst_frmPortDevice.moc"
