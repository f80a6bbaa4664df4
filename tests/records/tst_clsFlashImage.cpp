#include "clsFlashImage.h"
#include "mdlRecordChecks.h"

#include <QRandomGenerator>
#include <QTest>

#include <atomic>
#include <cstdlib>
#include <new>

using namespace mdlRecordChecks;

namespace {

using Image = clsFlashImage;
using Action = std::function<void(Image&)>;
using CallRow = std::tuple<Action, Action, QString>;

std::atomic<qint64> lBytesAllocated{0};

// Each cell's value and the code a write to it raises; a write touches only
// its own cell, so one copy serves them all.
QStringList CellStates(const Image& o, qint32 lFirst, qint32 lLast) {
    Image oCopy = o;
    QStringList aStates;
    for (qint32 i = lFirst; i <= lLast; ++i) {
        aStates << QString::number(o.Data(i)) + "/" + Raised([&] { oCopy.SetData(i, 0); }).left(4);
    }
    return aStates;
}

// Imports a line whose data bytes count up from 1; Put writes the first
// iCount of them as the import should.
Action Import(const QString& sLine) {
    return [=](Image& o) { o.Import(Parsed(sLine)); };
}

Action Put(qint32 lAddress, int iCount) {
    return [=](Image& o) {
        for (int i = 0; i < iCount; ++i) {
            o.SetData(lAddress + i, quint8(i + 1));
        }
    };
}

// The call, what it changes (done on a reference by other means), and its
// error. Cells 8 and 9 are written, 9 to 12 restricted, 0x7FE4 written and
// 0x7FF0 restricted.
const CallRow aCalls[] = {
    {[](Image& o) { o.SetData(-1, 1); }, {}, "2100 .Data: Invalid memory address passed"},
    {[](Image& o) { o.SetData(12, 1); }, {}, "2101 .Data: Address is a restricted byte."},
    // Restricted and written: the restriction is checked first.
    {[](Image& o) { o.SetData(9, 1); }, {}, "2101 .Data"},
    {[](Image& o) { o.SetData(8, 1); }, {}, "2102 .Data: Address has already been written to."},
    {[](Image& o) { o.Restrict(10, 5); }, {}, "2100 .Restrict: Invalid memory address passed"},
    {[](Image& o) { o.Restrict(-1, 5); }, {}, "2100 .Restrict"},
    {[](Image& o) { o.Restrict(0, 0x8000); }, {}, "2100 .Restrict"},
    // An end of 0 means the top for UnRestrict only.
    {[](Image& o) { o.Restrict(5, 0); }, {}, "2100 .Restrict"},
    {[](Image& o) { o.UnRestrict(10, 5); }, {}, "2100 .UnRestrict: Invalid memory address passed"},
    {[](Image&) { Image().Data(0); }, {}, "2103 .Data: The flash image has not been created."},
    // Address 0 passes the range check of an image never created.
    {[](Image&) { Image().SetData(0, 1); }, {}, "2103 .Data"},
    {[](Image&) { Image().Import(Parsed("S9030000FC")); }, {}, "2103 .Import"},
    {[](Image&) { Image().Export(); }, {}, "2103 .Export"},
    {[](Image& o) { o.Restrict(0, 0x7FFF), o.Export(); }, [](Image& o) { o.Restrict(0, 0x7FFF); },
     "2104 .Export: Byte pointer passed top of image without building a valid 'S' record."},
    {Import(WithCheckSum("S10B7FF8" + Hex(8, 1))), Put(0x7FF8, 8), ""},
    // Bytes before a failure stay placed.
    {Import(WithCheckSum("S10B7FF9" + Hex(8, 1))), Put(0x7FF9, 7), "2100 .Data"},
    {Import(WithCheckSum("S10B7FEC" + Hex(8, 1))), Put(0x7FEC, 4), "2101 .Data"},
    {Import(WithCheckSum("S10B7FE0" + Hex(8, 1))), Put(0x7FE0, 4), "2102 .Data"},
    // Headers, with data or without, and a record count place nothing.
    {Import(WithCheckSum("S0067FF8484452")), {}, ""},
    {Import("S0030000FC"), {}, ""},
    {Import(WithCheckSum("S6047FF810")), {}, ""},
    {Import("S1030000FC"), {}, "2212 : Application-defined error."},
};

} // namespace

void* operator new(std::size_t lSize) {
    lBytesAllocated += qint64(lSize);
    void* pMemory = std::malloc(lSize);
    return pMemory ? pMemory : throw std::bad_alloc();
}

void operator delete(void* pMemory) noexcept {
    std::free(pMemory);
}

void operator delete(void* pMemory, std::size_t) noexcept {
    std::free(pMemory);
}

class tst_clsFlashImage : public QObject {
    Q_OBJECT

private slots:
    // Every id: its top, fresh cells up to it and none past it, in at most
    // 6 MiB; Create starts afresh on a used image.
    void createSizesTheImage() {
        const QMap<int, qint32> aTops{{18, 0x7FFF},   {19, 0x7FFFF}, {20, 0x7FFFF},
                                      {21, 0x40FFFF}, {22, 0xFFFF},  {24, 0xFFFF}};
        Image oImage;
        for (int iID = 0; iID < 256; ++iID) {
            const qint32 lTop = aTops.value(iID);
            const qint64 lBefore = lBytesAllocated;
            QCOMPARE(oImage.Create(quint8(iID)), lTop);
            QVERIFY(lBytesAllocated - lBefore > lTop && lBytesAllocated - lBefore <= 6 << 20);
            QCOMPARE(oImage.UnrestrictedBytes(), lTop + 1);
            QCOMPARE(oImage.Data(lTop), 0);
            QCOMPARE(Raised([&] { oImage.Data(lTop + 1); }),
                     "2100 clsFlashImage.Data: INVALID ADDRESS: Invalid memory address passed");
            oImage.SetData(lTop, 1);
            oImage.Restrict(0, lTop);
        }
    }

    // Clear gives unrestricted cells the value and makes them writable again;
    // restricted cells keep value and written flag. Checksum and count cover
    // unrestricted cells.
    void restrictClearAndCheckSum() {
        Image oImage;
        oImage.Create(22);
        oImage.SetData(0x3FFF, 0x80);
        oImage.SetData(0x4001, 0x80);
        oImage.Restrict(0x4000, 0x4002);
        oImage.Clear(0x01);
        oImage.UnRestrict(0x4001, 0x4001);
        QCOMPARE(CellStates(oImage, 0x3FFF, 0x4003),
                 QStringList({"1/", "0/2101", "128/2102", "0/2101", "1/"}));
        QCOMPARE(oImage.UnrestrictedBytes(), 0x10000 - 2);
        QCOMPARE(oImage.CheckSum(), 255 - (0x10000 - 3 + 0x80) % 256);
        oImage.Restrict(0, 0xFFFF);
        oImage.UnRestrict(0x100); // to the top
        QCOMPARE(oImage.UnrestrictedBytes(), 0x10000 - 0x100);
        oImage.UnRestrict();
        QCOMPARE(oImage.UnrestrictedBytes(), 0x10000);
    }

    void calls_data() { AddRows(aCalls); }

    // Whatever a call changes shows on the reference too, and nothing else:
    // a failed call changes nothing, a failed import keeps what it placed.
    void calls() {
        QFETCH(CallRow, oRow);
        const auto& [oCall, oChange, sExpected] = oRow;
        Image oImage;
        oImage.Create(18);
        oImage.SetData(8, 7);
        oImage.SetData(9, 7);
        oImage.SetData(0x7FE4, 1);
        oImage.Restrict(9, 12);
        oImage.Restrict(0x7FF0, 0x7FF0);
        Image oReference = oImage;
        const QString sRaised = Raised([&] { oCall(oImage); });
        QVERIFY2(Matches(sRaised, sExpected, "clsFlashImage"), qPrintable(sRaised));
        if (oChange) {
            oChange(oReference);
        }
        QCOMPARE(CellStates(oImage, 0, 0x7FFF), CellStates(oReference, 0, 0x7FFF));
    }

    // Id 22: records of 8 bytes that stop before a restricted cell. Id 21:
    // records of 64. Id 18: 4096 records of 8, then 2104.
    void exportShapes() {
        Image oImage;
        oImage.Create(22);
        oImage.Restrict(0x4004, 0x7FFF);
        QCOMPARE(oImage.Export().Record(), WithCheckSum("S10B0000" + QString(16, u'0')));
        clsJRT_SRecord oRecord;
        while ((oRecord = oImage.Export()).Address() < 0x4000) {
        }
        QCOMPARE(oRecord.Record(), WithCheckSum("S1074000" + QString(8, u'0')));
        QCOMPARE(oImage.Export().Address(), 0x8000);
        oImage.Create(21);
        oImage.ResetBP();
        QCOMPARE(oImage.Export().Record(), WithCheckSum("S34500000000" + QString(128, u'0')));
        oImage.Create(18);
        oImage.ResetBP();
        for (int i = 0; i < 4096; ++i) {
            QCOMPARE(oImage.Export().Address(), 8 * i);
        }
        QVERIFY(Raised([&] { oImage.Export(); }).startsWith("2104 "));
    }

    // The lines of a whole walk, parsed and imported into an image with the
    // same restrictions, give back every cell. The walk ends with 2104 and
    // the pointer on the top, and stays ended, even after a step back, until
    // ResetBP.
    void exportWalkRoundTrips() {
        for (int iTargetID : {18, 21, 24}) {
            QRandomGenerator oRandom(iTargetID);
            Image oSource;
            const qint32 lTop = oSource.Create(quint8(iTargetID));
            for (int i = 0; i < 40; ++i) {
                const qint32 lStart = oRandom.bounded(lTop + 1);
                oSource.Restrict(lStart, std::min(lTop, lStart + oRandom.bounded(200)));
            }
            Image oCopy = oSource;
            const auto yFill = quint8(oRandom.bounded(256));
            oSource.Clear(yFill);
            oCopy.Clear(quint8(~yFill)); // a cell the walk misses keeps another value
            for (int i = 0; i < 3000; ++i) {
                Raised([&] { oSource.SetData(oRandom.bounded(lTop + 1), quint8(i)); });
            }
            qint32 lImported = 0;
            for (clsJRT_SRecord o; Raised([&] { o = oSource.Export(); }).isEmpty();) {
                lImported += oCopy.Import(Parsed(o.Record()));
            }
            QCOMPARE(lImported, oSource.UnrestrictedBytes());
            QCOMPARE(Bytes(oCopy), Bytes(oSource));
            QCOMPARE(oSource.ByteAddress(), lTop);
            oSource.DecrementBP();
            QVERIFY(Raised([&] { oSource.Export(); }).startsWith("2104 "));
            oSource.ResetBP();
            QVERIFY(Raised([&] { oSource.Export(); }).isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(tst_clsFlashImage)
#include "tst_clsFlashImage.moc"
