#include "platform/clsPortBindings.h"
#include "tests/support/clsPrivateHome.h"
#include "tests/support/mdlRows.h"

#include <QTest>

namespace {

const QString sKey = QStringLiteral("SOFTWARE\\Quellis\\Tessivar\\2.6.0\\Comms");
const QString sA = "/dev/serial/by-id/usb-A", sB = "/dev/serial/by-id/usb-B", sC = "/dev/ttyS0",
              sD = "/dev/ttyUSB7";

struct AdoptRow {
    const char* sName;
    QStringList asBefore; // the devices of ports 1, 2, ...; empty for none
    qint16 iUnbound;      // a port unbound again before the start; 0 for none
    QStringList asFound, asAfter;
};

// clang-format off
const AdoptRow aAdoptions[] = {
    {"first start binds in the order found", {}, 0, {sA, sB, sC}, {sA, sB, sC}},
    {"a new device takes the first free number", {sA, "", sC}, 0, {sC, sD, sA}, {sA, sD, sC}},
    {"a device unbound by the technician stays so", {sA, sB}, 1, {sA, sB}, {"", sB}},
    {"a missing device keeps its number", {sA, sB}, 0, {sB}, {sA, sB}},
};
// clang-format on

struct BindRow {
    const char* sName;
    qint16 iPort;
    QString sDevice;
    bool bBound;
    QStringList asAfter;
};

// clang-format off
const BindRow aBinds[] = {
    {"a free number", 3, sD, true, {sA, sB, sD}},
    {"a bound device moves", 2, sA, true, {"", sA}},
    {"the last number", 16, sC, true, {sA, sB}},
    {"number 0", 0, sC, false, {sA, sB}},
    {"number 17", 17, sC, false, {sA, sB}},
    {"a relative path", 3, "ttyUSB0", false, {sA, sB}},
    {"a control character", 3, "/dev/tty\n", false, {sA, sB}},
};
// clang-format on

struct CopiesRow {
    const char* sName;
    QStringList asBefore; // the devices of ports 1, 2, ... as both copies load them
    qint16 iSecondPort;   // the second copy binds it first; the first binds sA to 1
    QString sSecondDevice;
    QStringList asAfter;
};

// clang-format off
const CopiesRow aCopies[] = {
    {"other numbers", {}, 2, sB, {sA, sB, ""}},
    {"the same device", {}, 3, sA, {sA, "", ""}},
    {"the same device chosen again", {sA}, 3, sA, {sA, "", ""}},
};
// clang-format on

// Binds ports 1, 2, ... to asDevices, not yet stored.
clsPortBindings Bound(const QString& sKeyPath, const QStringList& asDevices) {
    clsPortBindings oBindings(sKeyPath);
    for (qint16 iPort = 1; iPort <= asDevices.size(); ++iPort) {
        oBindings.Bind(iPort, asDevices[iPort - 1]);
    }
    return oBindings;
}

QStringList FirstPorts(const clsPortBindings& oBindings, qsizetype lCount) {
    QStringList asDevices;
    for (qint16 iPort = 1; iPort <= lCount; ++iPort) {
        asDevices << oBindings.Device(iPort);
    }
    return asDevices;
}

} // namespace

class tst_clsPortBindings : public QObject {
    Q_OBJECT

    clsPrivateHome oHome;

private slots:
    void adopt_data() { mdlRows::Add(aAdoptions); }

    // Each row starts as the last start left the store.
    void adopt() {
        QFETCH(AdoptRow, oRow);
        clsPortBindings oBefore = Bound(sKey + QTest::currentDataTag(), oRow.asBefore);
        oBefore.Unbind(oRow.iUnbound);
        QVERIFY(oBefore.Store());
        clsPortBindings oBindings(sKey + QTest::currentDataTag());
        oBindings.Load();
        oBindings.Adopt(oRow.asFound);
        QCOMPARE(FirstPorts(oBindings, oRow.asAfter.size() + 1), oRow.asAfter + QStringList{""});
    }

    void bind_data() { mdlRows::Add(aBinds); }

    void bind() {
        QFETCH(BindRow, oRow);
        clsPortBindings oBindings(sKey);
        oBindings.Bind(1, sA);
        oBindings.Bind(2, sB);
        QCOMPARE(oBindings.Bind(oRow.iPort, oRow.sDevice), oRow.bBound);
        QCOMPARE(FirstPorts(oBindings, oRow.asAfter.size()), oRow.asAfter);
        QCOMPARE(oBindings.Device(16), oRow.iPort == 16 ? sC : QString());
    }

    void storeKeepsWhatAnotherCopyStored_data() { mdlRows::Add(aCopies); }

    // Two copies, each storing what it changed since it loaded: neither
    // takes back what the other stored meanwhile.
    void storeKeepsWhatAnotherCopyStored() {
        QFETCH(CopiesRow, oRow);
        const QString sCopies = sKey + QTest::currentDataTag();
        QVERIFY(Bound(sCopies, oRow.asBefore).Store());
        clsPortBindings oFirst(sCopies), oSecond(sCopies);
        oFirst.Load();
        oSecond.Load();
        oSecond.Bind(oRow.iSecondPort, oRow.sSecondDevice);
        QVERIFY(oSecond.Store());
        oFirst.Bind(1, sA);
        QVERIFY(oFirst.Store());
        clsPortBindings oAfter(sCopies);
        oAfter.Load();
        QCOMPARE(FirstPorts(oAfter, 3), oRow.asAfter);
        oAfter.Unbind(oRow.iSecondPort);
        QVERIFY(oAfter.Adopt({oRow.sSecondDevice}).isEmpty());
    }

    // Adapters by their stable names first, in name order.
    void stableNamesFirst() {
        QTemporaryDir oById;
        QVERIFY(QFile::link("/dev/null", oById.filePath("usb-Z")));
        QVERIFY(QFile::link("/dev/zero", oById.filePath("usb-A")));
        QCOMPARE(clsPortBindings::FoundDevices(oById.path()).mid(0, 2),
                 (QStringList{oById.filePath("usb-A"), oById.filePath("usb-Z")}));
    }
};

QTEST_GUILESS_MAIN(tst_clsPortBindings)
#include "tst_clsPortBindings.moc"
