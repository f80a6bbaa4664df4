#include "clsFlashImage.h"
#include "mdlRecordChecks.h"

#include <QBitArray>
#include <QRandomGenerator>
#include <QTest>

#include <atomic>
#include <cstdlib>
#include <new>

using namespace mdlRecordChecks;

using Action = std::function<void(clsFlashImage&)>;
Q_DECLARE_METATYPE(Action)

namespace {

std::atomic<qint64> lBytesAllocated{0};

QStringList Image(int iCode, const char* sMember, const char* sDescription) {
    return Error(iCode, QStringLiteral("clsFlashImage.") + QLatin1String(sMember), sDescription);
}

const QMap<QString, QStringList> aErrors{
    {"2100 read", Image(2100, "Data", "INVALID ADDRESS: Invalid memory address passed")},
    {"2100 write", Image(2100, "Data", "Invalid memory address passed")},
    {"2100 Restrict", Image(2100, "Restrict", "Invalid memory address passed")},
    {"2100 UnRestrict", Image(2100, "UnRestrict", "Invalid memory address passed")},
    {"2101", Image(2101, "Data", "Address is a restricted byte.")},
    {"2102", Image(2102, "Data", "Address has already been written to.")},
    {"2104", Image(2104, "Export",
                   "Byte pointer passed top of image without building a valid 'S' record.")},
    {"2212 alone", Error(2212, {}, "Application-defined error.")},
};

clsJRT_SRecord Parsed(const QString& sLine) {
    clsJRT_SRecord oRecord;
    oRecord.SetRecord(sLine);
    return oRecord;
}

// A data line of iBytes counting up from 1 after sTypeCountAddress.
QString DataLine(const QString& sTypeCountAddress, int iBytes) {
    QString sLine = sTypeCountAddress;
    for (int i = 1; i <= iBytes; ++i) {
        sLine += QString::asprintf("%02X", i);
    }
    return WithCheckSum(sLine);
}

void ImportByteByByte(clsFlashImage& oImage, const clsJRT_SRecord& oRecord) {
    const qint32 lAddress = oRecord.Address();
    const qint16 iCount = oRecord.DataByteCount();
    const qint16 iType = oRecord.RecType();
    for (qint16 i = 0; i < iCount && iType >= 1 && iType <= 3; ++i) {
        oImage.SetData(lAddress + i, oRecord.Data(i));
    }
}

// Each cell's value and what a write to it raises; a write touches only its
// own cell, so one copy serves them all.
QStringList CellStates(const clsFlashImage& oImage, qint32 lFirst, qint32 lLast) {
    clsFlashImage oCopy = oImage;
    QStringList aStates;
    for (qint32 lCell = lFirst; lCell <= lLast; ++lCell) {
        aStates << QString::number(oImage.Data(lCell)) +
                       Raised([&] { oCopy.SetData(lCell, 0); }).value(0);
    }
    return aStates;
}

} // namespace

void* operator new(std::size_t lSize) {
    lBytesAllocated += qint64(lSize);
    if (void* pMemory = std::malloc(lSize)) {
        return pMemory;
    }
    throw std::bad_alloc();
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
    void createSizesTheImage_data() {
        QTest::addColumn<int>("iTargetID");
        QTest::addColumn<qint32>("lTop");
        for (const auto& [iID, lTop] : {std::pair{18, 0x7FFF},
                                        {19, 0x7FFFF},
                                        {20, 0x7FFFF},
                                        {21, 0x40FFFF},
                                        {22, 0xFFFF},
                                        {23, 0},
                                        {24, 0xFFFF},
                                        {0, 0},
                                        {17, 0},
                                        {25, 0},
                                        {255, 0}}) {
            QTest::addRow("id %d", iID) << iID << lTop;
        }
    }

    void createSizesTheImage() {
        QFETCH(int, iTargetID);
        QFETCH(qint32, lTop);
        clsFlashImage oImage;
        QCOMPARE(oImage.Create(quint8(iTargetID)), lTop);
        QCOMPARE(oImage.UnrestrictedBytes(), lTop + 1);
        QCOMPARE(oImage.Data(lTop), 0);
        QCOMPARE(Raised([&] { oImage.Data(lTop + 1); }), aErrors["2100 read"]);
        QCOMPARE(Raised([&] { oImage.Data(-1); }), aErrors["2100 read"]);
    }

    void largestImageTakesAtMostSixMebibytes() {
        clsFlashImage oImage;
        const qint64 lBefore = lBytesAllocated;
        QCOMPARE(oImage.Create(21), 0x40FFFF);
        QVERIFY(lBytesAllocated - lBefore <= 6 * 1024 * 1024);
    }

    void membersBeforeCreate_data() {
        QTest::addColumn<Action>("oCall");
        QTest::addColumn<QString>("sMember");
        QTest::newRow("Data") << Action([](auto& o) { o.Data(0); }) << "Data";
        QTest::newRow("SetData") << Action([](auto& o) { o.SetData(0, 1); }) << "Data";
        QTest::newRow("Clear") << Action([](auto& o) { o.Clear(); }) << "Clear";
        QTest::newRow("Restrict") << Action([](auto& o) { o.Restrict(0, 0); }) << "Restrict";
        QTest::newRow("UnRestrict") << Action([](auto& o) { o.UnRestrict(); }) << "UnRestrict";
        QTest::newRow("Import") << Action([](auto& o) { o.Import(Parsed("S9030000FC")); })
                                << "Import";
        QTest::newRow("CheckSum") << Action([](auto& o) { o.CheckSum(); }) << "CheckSum";
        QTest::newRow("UnrestrictedBytes")
            << Action([](auto& o) { o.UnrestrictedBytes(); }) << "UnrestrictedBytes";
        QTest::newRow("Export") << Action([](auto& o) { o.Export(); }) << "Export";
    }

    // The byte-pointer members work without cells; nothing else does.
    void membersBeforeCreate() {
        QFETCH(Action, oCall);
        QFETCH(QString, sMember);
        clsFlashImage oImage;
        QCOMPARE(Raised([&] { oCall(oImage); }),
                 Error(2103, "clsFlashImage." + sMember, "The flash image has not been created."));
        QVERIFY(!oImage.IncrementBP() && !oImage.DecrementBP() && oImage.ByteAddress() == 0);
    }

    void restrictClearAndCheckSum() {
        clsFlashImage oImage;
        oImage.Create(22);
        oImage.Restrict(0x4000, 0x4002);
        oImage.Clear(0x01);
        QCOMPARE(CellStates(oImage, 0x3FFF, 0x4003),
                 QStringList({"1", "02101", "02101", "02101", "1"}));
        QCOMPARE(oImage.UnrestrictedBytes(), 0x10000 - 3);
        QCOMPARE(oImage.CheckSum(), 255 - (0x10000 - 3) % 256);
        oImage.UnRestrict(0x4001, 0x4001); // brings its 0 into the sum
        oImage.SetData(0x4000 - 1, 0x80);
        QCOMPARE(oImage.CheckSum(), 255 - (0x10000 - 4 + 0x80) % 256);
        oImage.Restrict(0, 0xFFFF);
        oImage.UnRestrict(0x100); // to the top
        QCOMPARE(oImage.UnrestrictedBytes(), 0x10000 - 0x100);
        oImage.UnRestrict();
        QCOMPARE(oImage.UnrestrictedBytes(), 0x10000);
    }

    void rangeChecks_data() {
        QTest::addColumn<Action>("oCall");
        QTest::addColumn<QString>("sError");
        QTest::newRow("end below start")
            << Action([](auto& o) { o.Restrict(10, 5); }) << "2100 Restrict";
        QTest::newRow("start below 0")
            << Action([](auto& o) { o.Restrict(-1, 5); }) << "2100 Restrict";
        QTest::newRow("end past top")
            << Action([](auto& o) { o.Restrict(0, 0x8000); }) << "2100 Restrict";
        QTest::newRow("end 0 is 0 for Restrict")
            << Action([](auto& o) { o.Restrict(5, 0); }) << "2100 Restrict";
        QTest::newRow("one cell at top")
            << Action([](auto& o) { o.Restrict(0x7FFF, 0x7FFF); }) << "";
        QTest::newRow("UnRestrict end 0 is top")
            << Action([](auto& o) { o.UnRestrict(5, 0); }) << "";
        QTest::newRow("UnRestrict start past top")
            << Action([](auto& o) { o.UnRestrict(0x8000); }) << "2100 UnRestrict";
        QTest::newRow("UnRestrict end below start")
            << Action([](auto& o) { o.UnRestrict(10, 5); }) << "2100 UnRestrict";
    }

    // An invalid range fails and changes no flag.
    void rangeChecks() {
        QFETCH(Action, oCall);
        QFETCH(QString, sError);
        clsFlashImage oImage;
        oImage.Create(18);
        oImage.Restrict(0x4000, 0x7FFF);
        QCOMPARE(Raised([&] { oCall(oImage); }), aErrors.value(sError));
        QVERIFY(sError.isEmpty() || oImage.UnrestrictedBytes() == 0x4000);
    }

    void writeChecksInOrder_data() {
        QTest::addColumn<Action>("oPrepare");
        QTest::addColumn<qint32>("lAddress");
        QTest::addColumn<QString>("sError");
        QTest::newRow("below 0") << Action([](auto&) {}) << -1 << "2100 write";
        QTest::newRow("past top") << Action([](auto&) {}) << 0x8000 << "2100 write";
        QTest::newRow("restricted") << Action([](auto& o) { o.Restrict(9, 9); }) << 9 << "2101";
        QTest::newRow("written") << Action([](auto& o) { o.SetData(9, 7); }) << 9 << "2102";
        QTest::newRow("restricted comes first")
            << Action([](auto& o) { o.SetData(9, 7), o.Restrict(9, 9); }) << 9 << "2101";
        QTest::newRow("Clear makes it writable")
            << Action([](auto& o) { o.SetData(9, 7), o.Clear(); }) << 9 << "";
    }

    // A failed write changes nothing.
    void writeChecksInOrder() {
        QFETCH(Action, oPrepare);
        QFETCH(qint32, lAddress);
        QFETCH(QString, sError);
        clsFlashImage oImage;
        oImage.Create(18);
        oPrepare(oImage);
        const qint32 lCell = std::clamp(lAddress, 0, 0x7FFF);
        const quint8 yBefore = oImage.Data(lCell);
        QCOMPARE(Raised([&] { oImage.SetData(lAddress, 0xA5); }), aErrors.value(sError));
        QCOMPARE(oImage.Data(lCell), sError.isEmpty() ? 0xA5 : yBefore);
    }

    void import_data() {
        QTest::addColumn<QStringList>("aLines");
        QTest::addColumn<int>("iPlacedByLast");
        QTest::addColumn<QString>("sError");
        const QString sEight = DataLine("S10B7FF8", 8);
        QTest::newRow("S1 of 8") << QStringList{sEight} << 8 << "";
        QTest::newRow("S2") << QStringList{DataLine("S20C000010", 8)} << 8 << "";
        QTest::newRow("S3") << QStringList{DataLine("S30D00000010", 8)} << 8 << "";
        QTest::newRow("same record twice") << QStringList{sEight, sEight} << -1 << "2102";
        QTest::newRow("one byte past top")
            << QStringList{DataLine("S10B7FF9", 8)} << -1 << "2100 write";
        QTest::newRow("into a written byte")
            << QStringList{DataLine("S1047FFC", 1), DataLine("S10B7FF8", 8)} << -1 << "2102";
        QTest::newRow("S9") << QStringList{"S9030000FC"} << 0 << "";
        QTest::newRow("S7") << QStringList{"S70500001F4794"} << 0 << "";
        QTest::newRow("S8") << QStringList{WithCheckSum("S8040000FF")} << 0 << "";
        QTest::newRow("header with data") << QStringList{"S00600004844521B"} << 0 << "";
        QTest::newRow("record count S5") << QStringList{"S5030003F9"} << 0 << "";
        QTest::newRow("record count S6") << QStringList{WithCheckSum("S604000010")} << 0 << "";
        QTest::newRow("header without data") << QStringList{"S0030000FC"} << 0 << "";
        QTest::newRow("S1 without data") << QStringList{"S1030000FC"} << -1 << "2212 alone";
    }

    // Only types 1 to 3 place bytes: a record count (S5, or S6 for more than
    // 65,535 records) must not land in the image as data.
    void import() {
        QFETCH(QStringList, aLines);
        QFETCH(int, iPlacedByLast);
        QFETCH(QString, sError);
        clsFlashImage oImage;
        oImage.Create(18);
        oImage.Clear(0xFF);
        for (const QString& sLine : aLines.first(aLines.size() - 1)) {
            oImage.Import(Parsed(sLine));
        }
        clsFlashImage oReference = oImage;
        const clsJRT_SRecord oLast = Parsed(aLines.last());
        qint16 iPlaced = -1;
        QCOMPARE(Raised([&] { iPlaced = oImage.Import(oLast); }), aErrors.value(sError));
        QCOMPARE(iPlaced, iPlacedByLast);
        Raised([&] { ImportByteByByte(oReference, oLast); });
        for (qint32 lFirst : {0, 0x7FE0}) {
            QCOMPARE(CellStates(oImage, lFirst, lFirst + 0x1F),
                     CellStates(oReference, lFirst, lFirst + 0x1F));
        }
    }

    // Placing in bulk must stop, and fail, exactly where writing byte by byte
    // does, also for records whose slots have a gap.
    void importAgreesWithByteByByteWriting() {
        QRandomGenerator oRandom(11);
        const qint32 lBase = 0x7F00;
        for (int iRun = 0; iRun < 150; ++iRun) {
            clsFlashImage oImage;
            oImage.Create(18);
            oImage.Restrict(lBase + oRandom.bounded(200), lBase + oRandom.bounded(200, 256));
            for (int i = 0; i < 4; ++i) {
                Raised([&] { oImage.SetData(lBase + oRandom.bounded(256), 1); });
            }
            clsJRT_SRecord oRecord;
            oRecord.SetRecType(qint16(oRandom.bounded(1, 4)));
            oRecord.SetAddress(lBase + oRandom.bounded(260));
            oRecord.SetByteCount(5);
            const int iSlots = oRandom.bounded(1, 65);
            const int iGap = oRandom.bounded(2 * iSlots);
            for (qint16 i = 0; i < iSlots; ++i) {
                if (i != iGap) {
                    oRecord.SetData(i, quint8(oRandom.bounded(256)));
                }
            }
            clsFlashImage oReference = oImage;
            QCOMPARE(Raised([&] { oImage.Import(oRecord); }),
                     Raised([&] { ImportByteByByte(oReference, oRecord); }));
            QCOMPARE(CellStates(oImage, lBase, 0x7FFF), CellStates(oReference, lBase, 0x7FFF));
        }
    }

    void exportShapes() {
        clsFlashImage oImage;
        oImage.Create(22);
        oImage.Restrict(0x4004, 0x7FFF);
        QCOMPARE(oImage.Export().Record(), WithCheckSum("S10B0000" + QString(16, u'0')));
        QCOMPARE(oImage.ByteAddress(), 8);
        clsJRT_SRecord oRecord;
        while ((oRecord = oImage.Export()).Address() < 0x4000) {
        }
        QCOMPARE(oRecord.Address(), 0x4000);
        QCOMPARE(oRecord.ByteCount(), 7);
        QCOMPARE(oImage.Export().Address(), 0x8000);
        oImage.Create(21);
        oImage.ResetBP();
        QCOMPARE(oImage.Export().Record(), WithCheckSum("S34500000000" + QString(128, u'0')));
    }

    void exportEnds_data() {
        QTest::addColumn<int>("iTargetID");
        QTest::addColumn<Action>("oPrepare");
        QTest::addColumn<int>("iRecords");
        QTest::addColumn<qint32>("lLastAddress");
        QTest::newRow("id 18: 4096 records") << 18 << Action([](auto&) {}) << 4096 << 0x7FF8;
        QTest::newRow("fully restricted")
            << 18 << Action([](auto& o) { o.Restrict(0, 0x7FFF); }) << 0 << 0;
        QTest::newRow("restricted at top")
            << 18 << Action([](auto& o) { o.Restrict(0x10, 0x7FFF); }) << 2 << 8;
        QTest::newRow("one-cell image") << 23 << Action([](auto&) {}) << 1 << 0;
        QTest::newRow("odd run at top")
            << 24 << Action([](auto& o) { o.Restrict(0, 0xFFF0); }) << 2 << 0xFFF9;
    }

    // 2104 ends the walk with the pointer on the top, and keeps ending it,
    // even after stepping back, until ResetBP; Create leaves the pointer.
    void exportEnds() {
        QFETCH(int, iTargetID);
        QFETCH(Action, oPrepare);
        QFETCH(int, iRecords);
        QFETCH(qint32, lLastAddress);
        clsFlashImage oImage;
        const qint32 lTop = oImage.Create(quint8(iTargetID));
        oPrepare(oImage);
        qint32 lAddress = 0;
        for (int i = 0; i < iRecords; ++i) {
            lAddress = oImage.Export().Address();
        }
        QCOMPARE(lAddress, lLastAddress);
        QCOMPARE(Raised([&] { oImage.Export(); }), aErrors["2104"]);
        QCOMPARE(oImage.ByteAddress(), lTop);
        while (oImage.ByteAddress() > lLastAddress) {
            oImage.DecrementBP();
        }
        QCOMPARE(Raised([&] { oImage.Export(); }), aErrors["2104"]);
        oImage.Create(quint8(iTargetID));
        oPrepare(oImage);
        QCOMPARE(oImage.ByteAddress(), lLastAddress);
        oImage.ResetBP();
        QCOMPARE(Raised([&] { oImage.Export(); }).isEmpty(), iRecords > 0);
    }

    void exportWalkRoundTrips_data() {
        QTest::addColumn<int>("iTargetID");
        for (int iID : {18, 20, 21, 22, 24}) {
            QTest::addRow("id %d", iID) << iID;
        }
    }

    // The lines of a whole walk, parsed and imported into an image prepared
    // the same way, give back every unrestricted cell; each record starts at
    // the first unrestricted cell after the last one and runs as far as its
    // size and the next restricted cell allow.
    void exportWalkRoundTrips() {
        QFETCH(int, iTargetID);
        QRandomGenerator oRandom{quint32(iTargetID)};
        clsFlashImage oSource;
        const qint32 lTop = oSource.Create(quint8(iTargetID));
        QBitArray aRestricted(lTop + 2);
        for (int i = 0; i < 40; ++i) {
            const qint32 lStart = oRandom.bounded(lTop + 1);
            const qint32 lEnd = std::min(lTop, lStart + oRandom.bounded(200));
            oSource.Restrict(lStart, lEnd);
            aRestricted.fill(true, lStart, lEnd + 1);
        }
        clsFlashImage oCopy = oSource;
        const auto yFill = quint8(oRandom.bounded(256));
        oSource.Clear(yFill);
        oCopy.Clear(yFill);
        for (int i = 0; i < 3000; ++i) {
            Raised(
                [&] { oSource.SetData(oRandom.bounded(lTop + 1), quint8(oRandom.bounded(256))); });
        }
        const int iMost = lTop == 0x7FFF || lTop == 0xFFFF ? 8 : 64;
        qint32 lNext = 0;
        for (clsJRT_SRecord oRecord; Raised([&] { oRecord = oSource.Export(); }).isEmpty();) {
            while (aRestricted.testBit(lNext)) {
                ++lNext;
            }
            qint32 lEnd = lNext + 1;
            while (lEnd <= lTop && lEnd < lNext + iMost && !aRestricted.testBit(lEnd)) {
                ++lEnd;
            }
            QCOMPARE(oRecord.Address(), lNext);
            QCOMPARE(oRecord.ByteCount(), (iMost == 8 ? 3 : 5) + lEnd - lNext);
            QCOMPARE(oCopy.Import(Parsed(oRecord.Record())), lEnd - lNext);
            lNext = lEnd;
        }
        QCOMPARE(oCopy.CheckSum(), oSource.CheckSum());
        for (qint32 lCell = 0; lCell <= lTop; ++lCell) {
            if (!aRestricted.testBit(lCell) && oCopy.Data(lCell) != oSource.Data(lCell)) {
                QFAIL(qPrintable(QString::number(lCell, 16)));
            }
        }
    }
};

QTEST_GUILESS_MAIN(tst_clsFlashImage)
#include "tst_clsFlashImage.moc"
