#include "records/clsFlashImage.h"
#include "tests/records/mdlRecordChecks.h"
#include "tests/support/mdlRows.h"

#include <QRandomGenerator>
#include <QTest>

using namespace mdlRecordChecks;

namespace {

using Image = clsFlashImage;
using Action = std::function<void(Image&)>;
using Ranges = QList<QPair<qint32, qint32>>;

// Each cell's value and the code a write to it raises; a write touches only
// its own cell, so one copy serves them all.
QStringList CellStates(const Image& o, qint32 lFirst, qint32 lLast) {
    Image oCopy = o;
    QStringList aStates;
    for (qint32 i = lFirst; i <= lLast; ++i) {
        aStates << QString::number(o.Data(i)) + "/" + Text([&] { oCopy.SetData(i, 0); }).left(4);
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

// Cell 9 is written, 9 to 12 restricted, 0x7FE4 written and 0x7FF0
// restricted.
Image CallsImage() {
    Image oImage;
    oImage.Create(18);
    oImage.SetData(9, 7);
    oImage.SetData(0x7FE4, 1);
    oImage.Restrict(9, 12);
    oImage.Restrict(0x7FF0, 0x7FF0);
    return oImage;
}

struct CallRow {
    const char* sName;
    Action oCall;
    Action oChange; // done on a reference by other means
    QString sExpected;
};

// Each on CallsImage.
// clang-format off
const CallRow aCalls[] = {
    {"write below 0", [](Image& o) { o.SetData(-1, 1); }, {},
     "2100 .Data: Invalid memory address passed"},
    {"restrict past the top", [](Image& o) { o.Restrict(0, 0x8000); }, {}, "2100 .Restrict"},
    {"restrict end 0 is no top", [](Image& o) { o.Restrict(5, 0); }, {}, "2100 .Restrict"},
    {"read before Create", [](Image&) { Image().Data(0); }, {},
     "2103 .Data: The flash image has not been created."},
    {"import past the top keeps the bytes before", Import(WithCheckSum("S10B7FF9" + Hex(8, 1))),
     Put(0x7FF9, 7), "2100 .Data"},
    {"import into a restricted cell", Import(WithCheckSum("S10B7FEC" + Hex(8, 1))),
     Put(0x7FEC, 4), "2101 .Data"},
    {"import over a written cell", Import(WithCheckSum("S10B7FE0" + Hex(8, 1))),
     Put(0x7FE0, 4), "2102 .Data: Address has already been written to."},
    {"header with data places nothing", Import(WithCheckSum("S0067FF8484452")), {}, ""},
    {"header without data places nothing", Import("S0030000FC"), {}, ""},
    {"count record of srec_cat places nothing", Import(WithCheckSum("S6040186A1")), {}, ""},
    {"data record without data", Import("S1030000FC"), {}, "2212 : Application-defined error."},
};
// clang-format on

struct WalkRow {
    const char* sName;
    int iTargetID;
    Ranges aRestricted;
    int iRecType, iRecords;
    qint32 lLastAddress;
    int iLastCount;
};

// clang-format off
const WalkRow aWalks[] = {
    {"21, records of 64", 21, {}, 3, 66560, 0x40FFC0, 64},
    {"22, a record cut short by a restricted range", 22, {{0x4004, 0x7FFF}}, 1, 6145, 0xFFF8, 8},
    {"22, protected 0 to 6: one byte left at the top", 22, {{0, 6}}, 1, 8192, 0xFFFF, 1},
    {"18, restricted at the top", 18, {{0x7FF0, 0x7FFF}}, 1, 4094, 0x7FE8, 8},
    {"18, fully restricted", 18, {{0, 0x7FFF}}, 1, 0, -1, -1},
};
// clang-format on

} // namespace

class tst_clsFlashImage : public QObject {
    Q_OBJECT

private slots:
    // Clear gives unrestricted cells the value and makes them writable again;
    // restricted cells keep value and written flag. The checksum covers
    // unrestricted cells.
    void restrictClearAndCheckSum() {
        Image oImage;
        oImage.Create(22);
        oImage.SetData(0x3FFF, 0x80);
        oImage.SetData(0x4000, 0x40);
        oImage.SetData(0x4001, 0x80);
        oImage.Restrict(0x4000, 0x4002);
        oImage.Clear(0x01);
        oImage.UnRestrict(0x4001, 0x4001);
        QCOMPARE(CellStates(oImage, 0x3FFF, 0x4003),
                 QStringList({"1/", "64/2101", "128/2102", "0/2101", "1/"}));
        QCOMPARE(oImage.CheckSum(), 255 - (0x10000 - 3 + 0x80) % 256);
    }

    void calls_data() { mdlRows::Add(aCalls); }

    // Whatever a call changes shows on the reference too, and nothing else:
    // a failed call changes nothing, a failed import keeps what it placed.
    void calls() {
        QFETCH(CallRow, oRow);
        Image oImage = CallsImage();
        Image oReference = oImage;
        const QString sRaised = Text([&] { oRow.oCall(oImage); });
        QVERIFY2(Matches(sRaised, oRow.sExpected, "clsFlashImage"), qPrintable(sRaised));
        if (oRow.oChange) {
            oRow.oChange(oReference);
        }
        QCOMPARE(CellStates(oImage, 0, 0x7FFF), CellStates(oReference, 0, 0x7FFF));
    }

    void walk_data() { mdlRows::Add(aWalks); }

    // The records of a whole walk, parsed and imported into an image with the
    // same restrictions, give back every cell. The walk ends with 2104 and
    // the pointer on the top, and stays ended until ResetBP.
    void walk() {
        QFETCH(WalkRow, oRow);
        Image oSource;
        const qint32 lTop = oSource.Create(quint8(oRow.iTargetID));
        for (const auto& [lFirst, lLast] : oRow.aRestricted) {
            oSource.Restrict(lFirst, lLast);
        }
        Image oCopy = oSource;
        QRandomGenerator oRandom(lTop);
        const auto yFill = quint8(oRandom.bounded(256));
        oSource.Clear(yFill);
        oCopy.Clear(quint8(~yFill)); // a cell the walk misses keeps another value
        for (int i = 0; i < 3000; ++i) {
            Text([&] { oSource.SetData(oRandom.bounded(lTop + 1), quint8(i)); });
        }
        int iRecordsSeen = 0;
        qint32 lImported = 0;
        clsJRT_SRecord oLast;
        for (clsJRT_SRecord o; Text([&] { o = oSource.Export(); }).isEmpty(); oLast = o) {
            QCOMPARE(o.RecType(), oRow.iRecType);
            lImported += oCopy.Import(Parsed(o.Record()));
            ++iRecordsSeen;
        }
        QCOMPARE(iRecordsSeen, oRow.iRecords);
        if (oRow.iRecords > 0) {
            QCOMPARE(oLast.Address(), oRow.lLastAddress);
            QCOMPARE(oLast.DataByteCount(), oRow.iLastCount);
        }
        QCOMPARE(lImported, oSource.UnrestrictedBytes());
        QCOMPARE(Bytes(oCopy), Bytes(oSource));
        QCOMPARE(oSource.ByteAddress(), lTop);
        QVERIFY(Text([&] { oSource.Export(); }).startsWith("2104 "));
        oSource.ResetBP();
        QCOMPARE(Text([&] { oSource.Export(); }).isEmpty(), oRow.iRecords > 0);
    }
};

QTEST_GUILESS_MAIN(tst_clsFlashImage)
#include "tst_clsFlashImage.moc"
