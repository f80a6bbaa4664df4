#include "platform/clsJRT_Registry.h"
#include "platform/clsPortBindings.h"
#include "platform/mdlDataPaths.h"
#include "tests/support/clsPrivateHome.h"
#include "tests/support/mdlRows.h"
#include "tests/support/mdlTestFiles.h"

#include <QOperatingSystemVersion>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

// Where port n is COMn until it is bound.
const bool bWindows = QOperatingSystemVersion::currentType() == QOperatingSystemVersion::Windows;
// Devices as this system names them.
const QString sA = bWindows ? "COM17" : "/dev/serial/by-id/usb-A",
              sB = bWindows ? "COM18" : "/dev/serial/by-id/usb-B",
              sC = bWindows ? "COM19" : "/dev/ttyS0", sD = bWindows ? "COM20" : "/dev/ttyUSB7";

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
const StartRow aComAdoptions[] = {
    {"COM ports keep their own numbers", {}, 0, "", {sA, "COM3"}, {"", "", "", ""}},
};

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

// The devices ports 1, 2, 3 and 16 are bound to; empty where unbound.
QStringList Devices(const clsPortBindings& oBindings) {
    QStringList asDevices;
    for (const qint16 iPort : {1, 2, 3, 16}) {
        asDevices << (oBindings.IsBound(iPort) ? oBindings.Device(iPort) : QString());
    }
    return asDevices;
}

// Port 3 bound to sGiven: what it stands for then.
struct NameRow {
    const char* sName;
    QString sGiven, sDevice;
};

// clang-format off
const NameRow aComNames[] = {
    {"COM17 and above", "COM17", "COM17"},
    {"\\\\.\\ and lower case", "\\\\.\\com23", "COM23"},
    {"a path is no COM port", "/dev/ttyUSB0", "COM3"},
    {"COM0 is none", "COM0", "COM3"},
};

const NameRow aPathNames[] = {
    {"a COM port's name is no path", "COM17", ""},
};
// clang-format on

// Bindings in the key "Comms\hand" as a person may write them, and ports
// 1, 2, 3 and 16 once port 1 is bound to sC.
struct HandRow {
    const char* sName;
    std::function<void()> oWrite;
    QStringList asAfter;
};

const HandRow aByHandInFile[] = {
    {"without quotes",
     [] {
         mdlTestFiles::Write(
             QDir(), mdlDataPaths::SettingsFile(),
             "[HKEY_LOCAL_MACHINE\\Comms\\hand]\nCOM2=/dev/ttyUSB0\nCOM3= \"/a\"\n");
     },
     {sC, "/dev/ttyUSB0", "/a", ""}},
};

const HandRow aByHandInRegistry[] = {
    {"lower case and \\\\.\\",
     [] {
         clsJRT_Registry oKey;
         oKey.SetSubKey("Comms\\hand");
         oKey.SetAutoCreate(true);
         oKey.OpenKey();
         oKey.SetValue("COM2", clsJRT_Registry::RegSz, "com23");
         oKey.SetValue("COM3", clsJRT_Registry::RegSz, "\\\\.\\COM24");
         oKey.CloseKey();
     },
     {sC, "COM23", "COM24", ""}},
};

} // namespace

class tst_clsPortBindings : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;

private slots:
    void adopt_data() { bWindows ? mdlRows::Add(aComAdoptions) : mdlRows::Add(aAdoptions); }

    // Each row starts as the last start left the store.
    void adopt() {
        QFETCH(StartRow, oRow);
        QVERIFY(Bound(oRow.asBefore).Store());
        clsPortBindings oBindings = Bound({});
        oBindings.Load();
        oBindings.Adopt(oRow.asFound);
        QCOMPARE(Devices(oBindings), oRow.asAfter);
    }

    // A device has one number at most; only 1 to 16 and devices' names bind.
    void bind() {
        clsPortBindings oBindings = Bound({sA, sB});
        QVERIFY(!oBindings.Bind(0, sC) && !oBindings.Bind(17, sC) && !oBindings.Bind(3, "ttyUSB0"));
        QCOMPARE(Devices(oBindings), (QStringList{sA, sB, "", ""}));
        QVERIFY(oBindings.Bind(16, sC) && oBindings.Bind(2, sA));
        QCOMPARE(Devices(oBindings), (QStringList{"", sA, "", sC}));
    }

    void names_data() { bWindows ? mdlRows::Add(aComNames) : mdlRows::Add(aPathNames); }

    void names() {
        QFETCH(NameRow, oRow);
        clsPortBindings oBindings = Bound({});
        oBindings.Bind(3, oRow.sGiven);
        QCOMPARE(oBindings.Device(3), oRow.sDevice);
    }

    void handWrittenBindings_data() {
        bWindows ? mdlRows::Add(aByHandInRegistry) : mdlRows::Add(aByHandInFile);
    }

    // Kept at the next store.
    void handWrittenBindings() {
        QFETCH(HandRow, oRow);
        oRow.oWrite();
        clsPortBindings oBindings(QStringLiteral("Comms\\hand"));
        oBindings.Load();
        QVERIFY(oBindings.Bind(1, sC) && oBindings.Store());
        oBindings.Load();
        QCOMPARE(Devices(oBindings), oRow.asAfter);
    }

    // Adapters by their stable names first, in name order: a first start
    // binds them before the built-in ports. Windows has no such folder: the
    // files there are no ports.
    void stableNamesFirst() {
        QTemporaryDir oById;
        const QStringList asNames = {mdlTestFiles::Write(QDir(oById.path()), "usb-A", ""),
                                     mdlTestFiles::Write(QDir(oById.path()), "usb-Z", "")};
        QCOMPARE(clsPortBindings::FoundDevices(oById.path()).mid(0, 2) == asNames, !bWindows);
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
