#include "platform/clsJRT_Registry.h"
#include "platform/clsPortBindings.h"
#include "tests/support/clsPrivateHome.h"
#include "tests/support/mdlRows.h"
#include "tests/support/mdlTestFiles.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

const QString sA = "/dev/serial/by-id/usb-A", sB = "/dev/serial/by-id/usb-B", sC = "/dev/ttyS0",
              sD = "/dev/ttyUSB7";

// Ports 1, 2, ... bound to asBefore and stored; then asFound adopted, or
// iPort given sDevice by another copy; then ports 1, 2, 3 and 16 as asAfter.
struct StartRow {
    const char* sName;
    QStringList asBefore;
    qint16 iPort;
    QString sDevice;
    QStringList asFound, asAfter;
};

// clang-format off
const StartRow aAdoptions[] = {
    {"first start binds in the order found", {}, 0, "", {sA, sB, sC}, {sA, sB, sC, ""}},
    {"a new device, the first free number", {sA, "", sC}, 0, "", {sC, sD, sA}, {sA, sD, sC, ""}},
    {"a missing device keeps its number", {sA, sB}, 0, "", {sB}, {sA, sB, "", ""}},
};

// The second copy binds first, then the first copy binds sA to 1.
const StartRow aCopies[] = {
    {"other numbers", {}, 2, sB, {}, {sA, sB, "", ""}},
    {"the same device chosen again", {sA}, 3, sA, {}, {sA, "", "", ""}},
};
// clang-format on

// The bindings of the key named after the row, ports 1, 2, ... bound to
// asDevices, not yet stored.
clsPortBindings Bound(const QStringList& asDevices) {
    clsPortBindings oBindings(QStringLiteral("Comms\\") + QTest::currentDataTag());
    for (qint16 iPort = 1; iPort <= asDevices.size(); ++iPort) {
        oBindings.Bind(iPort, asDevices[iPort - 1]);
    }
    return oBindings;
}

// The devices of ports 1, 2, 3 and 16.
QStringList Devices(const clsPortBindings& oBindings) {
    return {oBindings.Device(1), oBindings.Device(2), oBindings.Device(3), oBindings.Device(16)};
}

} // namespace

class tst_clsPortBindings : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;

private slots:
    void adopt_data() { mdlRows::Add(aAdoptions); }

    // Each row starts as the last start left the store.
    void adopt() {
        QFETCH(StartRow, oRow);
        QVERIFY(Bound(oRow.asBefore).Store());
        clsPortBindings oBindings = Bound({});
        oBindings.Load();
        oBindings.Adopt(oRow.asFound);
        QCOMPARE(Devices(oBindings), oRow.asAfter);
    }

    // A device has one number at most; only 1 to 16 and absolute paths bind.
    void bind() {
        clsPortBindings oBindings = Bound({sA, sB});
        QVERIFY(!oBindings.Bind(0, sC) && !oBindings.Bind(17, sC) && !oBindings.Bind(3, "ttyUSB0"));
        QCOMPARE(Devices(oBindings), (QStringList{sA, sB, "", ""}));
        QVERIFY(oBindings.Bind(16, sC) && oBindings.Bind(2, sA));
        QCOMPARE(Devices(oBindings), (QStringList{"", sA, "", sC}));
    }

    // As a person may write them by hand, without quotes; kept at the next
    // store.
    void handWrittenBindings() {
        mdlTestFiles::Write(QDir(), clsJRT_Registry::FilePath(),
                            "[HKEY_LOCAL_MACHINE\\Comms\\hand]\nCOM2=/dev/ttyUSB0\nCOM3= \"/a\"\n");
        clsPortBindings oBindings(QStringLiteral("Comms\\hand"));
        oBindings.Load();
        QVERIFY(oBindings.Bind(1, sC) && oBindings.Store());
        oBindings.Load();
        QCOMPARE(Devices(oBindings), (QStringList{sC, "/dev/ttyUSB0", "/a", ""}));
    }

    // Adapters by their stable names first, in name order: a first start
    // binds them before the built-in ports.
    void stableNamesFirst() {
        QTemporaryDir oById;
        QVERIFY(QFile::link("/dev/null", oById.filePath("usb-Z")));
        QVERIFY(QFile::link("/dev/zero", oById.filePath("usb-A")));
        QCOMPARE(clsPortBindings::FoundDevices(oById.path()).mid(0, 2),
                 (QStringList{oById.filePath("usb-A"), oById.filePath("usb-Z")}));
    }

    void storeKeepsWhatAnotherCopyStored_data() { mdlRows::Add(aCopies); }

    // Two copies, each storing what it changed since it loaded: neither
    // takes back what the other stored meanwhile.
    void storeKeepsWhatAnotherCopyStored() {
        QFETCH(StartRow, oRow);
        QVERIFY(Bound(oRow.asBefore).Store());
        clsPortBindings oFirst = Bound({}), oSecond = Bound({});
        oFirst.Load();
        oSecond.Load();
        oSecond.Bind(oRow.iPort, oRow.sDevice);
        QVERIFY(oSecond.Store());
        oFirst.Bind(1, sA);
        QVERIFY(oFirst.Store());
        clsPortBindings oAfter = Bound({});
        oAfter.Load();
        QCOMPARE(Devices(oAfter), oRow.asAfter);
        oAfter.Unbind(oRow.iPort);
        QVERIFY(oAfter.Adopt({oRow.sDevice}).isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_clsPortBindings)
#include "tst_clsPortBindings.moc"
