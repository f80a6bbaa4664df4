#include "clsJRT_SRecord.h"
#include "mdlRecordChecks.h"

#include <QRandomGenerator>
#include <QTest>

using namespace mdlRecordChecks;

using Action = std::function<void(clsJRT_SRecord&)>;
Q_DECLARE_METATYPE(Action)

namespace {

QStringList Codec(int iCode, const char* sMember, const char* sDescription) {
    return Error(iCode, QStringLiteral("clsJRT_SRecord.") + QLatin1String(sMember), sDescription);
}

// The codec's errors by code; "w" and "r" tell the two texts of 2206 apart,
// "alone" marks the number-alone errors of formatting.
const QMap<QString, QStringList> aErrors{
    {"2200", Codec(2200, "Record", "Not an S record")},
    {"2201", Codec(2201, "Record", "Data checksum does not match record checksum")},
    {"2202", Codec(2202, "RecType", "Invalid record type.")},
    {"2203", Codec(2203, "ByteCount", "Invalid byte count.")},
    {"2203 length", Codec(2203, "Record", "Byte count does not match the length of the record.")},
    {"2204", Codec(2204, "Address", "An invalid address was requested.")},
    {"2205", Codec(2205, "NumRecs", "Invalid number of records.")},
    {"2206 r", Codec(2206, "Data", "The byte offset in out of the records range.")},
    {"2206 w", Codec(2206, "Data", "Invalid byte number requested.")},
    {"2207", Codec(2207, "CheckSum", "Invalid checksum passed.")},
    {"2208", Codec(2208, "RecType", "Record type not set.")},
    {"2209", Codec(2209, "ByteCount", "Byte count not set.")},
    {"2210", Codec(2210, "Address", "Address not set.")},
    {"2211", Codec(2211, "NumRecs", "Number of records not set.")},
    {"2212", Codec(2212, "Data", "No data has been set at this address.")},
    {"2213", Codec(2213, "CheckSum", "Checksum not set.")},
    {"2214", Codec(2214, "Record", "Record field cannot be read as a number.")},
    {"2208 alone", Error(2208, {}, "Application-defined error.")},
    {"2210 alone", Error(2210, {}, "Application-defined error.")},
    {"2211 alone", Error(2211, {}, "Application-defined error.")},
    {"2212 alone", Error(2212, {}, "Application-defined error.")},
};

QString Hex(int iCount, int iFirst = 0) {
    QString sHex;
    for (int i = 0; i < iCount; ++i) {
        sHex += QString::asprintf("%02X", (iFirst + i) % 256);
    }
    return sHex;
}

Action Built(qint16 iType, qint32 lAddress = -1, qint16 iCount = -1, const QString& sData = {}) {
    return [=](clsJRT_SRecord& oRecord) {
        oRecord.SetRecType(iType);
        if (lAddress > 0 || (lAddress == 0 && iType != 5)) {
            iType == 5 ? oRecord.SetNumRecs(lAddress) : oRecord.SetAddress(lAddress);
        }
        if (iCount >= 0) {
            oRecord.SetByteCount(iCount);
        }
        const QByteArray aData = QByteArray::fromHex(sData.toLatin1());
        for (qint16 i = 0; i < aData.size(); ++i) {
            oRecord.SetData(i, quint8(aData[i]));
        }
    };
}

// "type/count/address/data/records/checksum" in hex, "-" where not set.
QString FieldsOf(const clsJRT_SRecord& oRecord) {
    QStringList aFields;
    for (const auto& oRead : std::initializer_list<std::function<qint32()>>{
             [&] { return oRecord.RecType(); }, [&] { return oRecord.ByteCount(); },
             [&] { return oRecord.Address(); }, [&] { return -1; },
             [&] { return oRecord.NumRecs(); }, [&] { return oRecord.CheckSum(); }}) {
        qint32 lValue = -1;
        aFields << (Raised([&] { lValue = oRead(); }).isEmpty() ? QString::number(lValue, 16)
                                                                : "-");
    }
    const auto aData = oRecord.LeadingData();
    aFields[3] =
        QByteArray(reinterpret_cast<const char*>(aData.data()), qsizetype(aData.size())).toHex();
    return aFields.join('/').toUpper();
}

} // namespace

class tst_clsJRT_SRecord : public QObject {
    Q_OBJECT

private slots:
    void parsesAndFormatsAgain_data() {
        QTest::addColumn<QString>("sLine");
        QTest::addColumn<QString>("sFields"); // all but the checksum, which is the line's own
        QTest::newRow("S9") << "S9030000FC"
                            << "9/3/0//-";
        QTest::newRow("S7") << "S70500001F4794"
                            << "7/5/1F47//-";
        QTest::newRow("board reply") << "S60500000009F1"
                                     << "6/5/0/0009/-";
        QTest::newRow("header") << "S00600004844521B"
                                << "0/6/0/484452/-";
        QTest::newRow("S5") << "S5030003F9"
                            << "5/3/0//3";
        QTest::newRow("S5 of 0 kept") << "S5030000FC"
                                      << "5/3/0//0";
        QTest::newRow("S6 count of a common tool") << WithCheckSum("S604011170") << "6/4/111/70/-";
        QTest::newRow("S6 count 11 in decimal")
            << WithCheckSum("S611FFFF" + Hex(8)) << "6/B/FFFF/" + Hex(8) + "/-";
        QTest::newRow("S2") << WithCheckSum("S2080123450A0B0C0D") << "2/8/12345/0A0B0C0D/-";
        QTest::newRow("S3, 64 bytes, top address") << WithCheckSum("S3457FFFFFFF" + Hex(64, 200))
                                                   << "3/45/7FFFFFFF/" + Hex(64, 200) + "/-";
        QTest::newRow("S8") << WithCheckSum("S804ABCDEF") << "8/4/ABCDEF//-";
        QTest::newRow("lower case") << WithCheckSum("S1050010abcd") << "1/5/10/ABCD/-";
    }

    void parsesAndFormatsAgain() {
        QFETCH(QString, sLine);
        QFETCH(QString, sFields);
        clsJRT_SRecord oRecord;
        oRecord.SetRecord(sLine);
        QCOMPARE(FieldsOf(oRecord), sFields + "/" + sLine.right(2).toUpper());
        QCOMPARE(oRecord.Record(), sLine.toUpper());
    }

    void parseFailures_data() {
        QTest::addColumn<QString>("sLine");
        QTest::addColumn<QString>("sError");
        QTest::newRow("empty") << ""
                               << "2200";
        QTest::newRow("leading blank") << " S9030000FC"
                                       << "2200";
        QTest::newRow("lower-case s") << "s9030000FC"
                                      << "2200";
        QTest::newRow("checksum before type") << "S4030000FD"
                                              << "2201";
        QTest::newRow("type 4") << "S4030000FC"
                                << "2202";
        QTest::newRow("count 70") << WithCheckSum("S34600000000" + Hex(65)) << "2203";
        QTest::newRow("S3 at 0x80000000") << WithCheckSum("S30680000000AA") << "2204";
        QTest::newRow("S7 at 0xFFFFFFFF") << WithCheckSum("S705FFFFFFFF") << "2204";
        QTest::newRow("65th data byte") << WithCheckSum("S1440000" + Hex(65)) << "2206 w";
        QTest::newRow("cut short, checksum matching")
            << WithCheckSum("S1060000AABB") << "2203 length";
        QTest::newRow("65 bytes, count 0x45")
            << WithCheckSum("S34500000000" + Hex(65)) << "2203 length";
        QTest::newRow("10 MB, checksum matching") << "S1" + QString(10'000'000, u'0') + "FF"
                                                  << "2203 length";
        QTest::newRow("10 MB of text") << "S1" + QString(10'000'000, u'x') << "2214";
        QTest::newRow("hex letter in a decimal count") << WithCheckSum("S90A0000") << "2214";
        QTest::newRow("type not a digit") << WithCheckSum("SX030000") << "2214";
        QTest::newRow("not hex") << "S1050000ABCG00"
                                 << "2214";
        QTest::newRow("checksum not hex") << "S9030000F "
                                          << "2214";
        QTest::newRow("odd length") << WithCheckSum("S9030000") + "0"
                                    << "2214";
        QTest::newRow("S alone") << "S"
                                 << "2214";
        QTest::newRow("no room for a count") << "S9FF"
                                             << "2214";
        QTest::newRow("no room for an address") << WithCheckSum("S901") << "2214";
        QTest::newRow("no room for a record count") << WithCheckSum("S501") << "2214";
        QTest::newRow("NUL") << QString::fromLatin1("S9030000\0C", 10) << "2214";
        QTest::newRow("non-ASCII") << QString::fromUtf8("S9030000F\u00C7") << "2214";
        QTest::newRow("surrogate") << QString::fromUtf16(u"S9030000F\xD800") << "2214";
    }

    void parseFailures() {
        QFETCH(QString, sLine);
        QFETCH(QString, sError);
        clsJRT_SRecord oRecord;
        QCOMPARE(Raised([&] { oRecord.SetRecord(sLine); }), aErrors.value(sError));
    }

    // A line cut anywhere, or with any one character turned into a NUL or a
    // non-ASCII character, is refused.
    void damagedLinesAreRefused() {
        for (const QString& sLine :
             {QStringLiteral("S9030000FC"), QStringLiteral("S70500001F4794"),
              QStringLiteral("S60500000009F1"), QStringLiteral("S00600004844521B"),
              QStringLiteral("S5030003F9"), WithCheckSum("S804ABCDEF"),
              WithCheckSum("S3457FFFFFFF" + Hex(64, 9)), WithCheckSum("S2080123450A0B0C0D"),
              WithCheckSum("S1130000" + Hex(16))}) {
            for (qsizetype i = 0; i < sLine.size(); ++i) {
                clsJRT_SRecord oRecord;
                QVERIFY(!Raised([&] { oRecord.SetRecord(sLine.left(i)); }).isEmpty());
                for (QChar cBad : {QChar(0), QChar(0xE9), QChar(0x4E00)}) {
                    QString sDamaged = sLine;
                    sDamaged[i] = cBad;
                    QVERIFY(!Raised([&] { oRecord.SetRecord(sDamaged); }).isEmpty());
                }
            }
        }
    }

    void formatting_data() {
        QTest::addColumn<Action>("oBuild");
        QTest::addColumn<QString>("sLine"); // or the error
        QTest::newRow("erase command") << Built(6, 0, 5, "8003") << "S6050000800377";
        QTest::newRow("S9 leaves its slots out") << Built(9, 0, 3, "01") << "S9030000FC";
        QTest::newRow("S7") << Built(7, 0x1F47, 5) << "S70500001F4794";
        QTest::newRow("S6 count 13 in decimal")
            << Built(6, 0, 13, Hex(10)) << WithCheckSum("S6130000" + Hex(10));
        QTest::newRow("address wider than its field")
            << Built(1, 0x12345, 4, "AB") << "S10412345AB5B";
        QTest::newRow("records wider than their field") << Built(5, 0x12345, 3) << "S50312345B6";
        QTest::newRow("nothing set") << Action([](auto&) {}) << "2208 alone";
        QTest::newRow("no address") << Built(1, -1, 5, "01") << "2210 alone";
        QTest::newRow("no number of records") << Built(5, -1, 3) << "2211 alone";
        QTest::newRow("S3 without data") << Built(3, 0, 5) << "2212 alone";
        QTest::newRow("parsed header without data")
            << Action([](auto& o) { o.SetRecord("S0030000FC"); }) << "2212 alone";
        QTest::newRow("no count") << Built(3, 0, -1, "01") << "2209";
    }

    // Without a line, DataByteCount and CalcCheckSum work on the formatted
    // one, so they agree with it, errors included.
    void formatting() {
        QFETCH(Action, oBuild);
        QFETCH(QString, sLine);
        clsJRT_SRecord oRecord;
        oBuild(oRecord);
        const QStringList aError = aErrors.value(sLine);
        QString sFormatted;
        QCOMPARE(Raised([&] { sFormatted = oRecord.Record(); }), aError);
        QCOMPARE(Raised([&] { oRecord.DataByteCount(); }), aError);
        QCOMPARE(Raised([&] { oRecord.CalcCheckSum(); }), aError);
        if (aError.isEmpty()) {
            QCOMPARE(sFormatted, sLine);
            QCOMPARE(oRecord.DataByteCount(), oRecord.DataByteCount(sFormatted));
            QCOMPARE(oRecord.CalcCheckSum(), sLine.right(2).toInt(nullptr, 16));
        }
    }

    void memberErrors_data() {
        QTest::addColumn<Action>("oCall");
        QTest::addColumn<QString>("sError");
        QTest::newRow("type 4") << Action([](auto& o) { o.SetRecType(4); }) << "2202";
        QTest::newRow("type 10") << Action([](auto& o) { o.SetRecType(10); }) << "2202";
        QTest::newRow("type -1") << Action([](auto& o) { o.SetRecType(-1); }) << "2202";
        QTest::newRow("count 70") << Action([](auto& o) { o.SetByteCount(70); }) << "2203";
        QTest::newRow("count -1") << Action([](auto& o) { o.SetByteCount(-1); }) << "2203";
        QTest::newRow("address -1") << Action([](auto& o) { o.SetAddress(-1); }) << "2204";
        QTest::newRow("0 records") << Action([](auto& o) { o.SetNumRecs(0); }) << "2205";
        QTest::newRow("read slot 64") << Action([](auto& o) { o.Data(64); }) << "2206 r";
        QTest::newRow("read slot -1") << Action([](auto& o) { o.Data(-1); }) << "2206 r";
        QTest::newRow("write slot 64") << Action([](auto& o) { o.SetData(64, 1); }) << "2206 w";
        QTest::newRow("write slot -1") << Action([](auto& o) { o.SetData(-1, 1); }) << "2206 w";
        QTest::newRow("checksum -1") << Action([](auto& o) { o.SetCheckSum(-1); }) << "2207";
        QTest::newRow("type unset") << Action([](auto& o) { o.Reset(), o.RecType(); }) << "2208";
        QTest::newRow("count unset") << Action([](auto& o) { o.Reset(), o.ByteCount(); }) << "2209";
        QTest::newRow("address unset") << Action([](auto& o) { o.Reset(), o.Address(); }) << "2210";
        QTest::newRow("records unset") << Action([](auto& o) { o.Reset(), o.NumRecs(); }) << "2211";
        QTest::newRow("slot unset") << Action([](auto& o) { o.Data(1); }) << "2212";
        QTest::newRow("checksum unset")
            << Action([](auto& o) { o.Reset(), o.CheckSum(); }) << "2213";
    }

    // A refused value leaves every field as it was.
    void memberErrors() {
        QFETCH(Action, oCall);
        QFETCH(QString, sError);
        clsJRT_SRecord oRecord;
        Built(2, 7, 5, "2A")(oRecord);
        oRecord.SetNumRecs(9);
        oRecord.SetCheckSum(300);
        const QString sBefore = FieldsOf(oRecord);
        QCOMPARE(Raised([&] { oCall(oRecord); }), aErrors.value(sError));
        if (!QByteArray(QTest::currentDataTag()).endsWith("unset")) {
            QCOMPARE(FieldsOf(oRecord), sBefore);
        }
    }

    void parsingDoesNotClear() {
        clsJRT_SRecord oRecord;
        oRecord.SetRecord(WithCheckSum("S1070000AABBCCDD"));
        oRecord.SetRecord(WithCheckSum("S1050010EEFF"));
        QCOMPARE(oRecord.Record(), WithCheckSum("S1050010EEFFCCDD"));
    }

    void lineArguments_data() {
        QTest::addColumn<QString>("sLine");
        QTest::addColumn<int>("iDataBytes");
        QTest::addColumn<int>("iCheckSum");
        QTest::newRow("S9") << "S9030000FC" << 0 << 252;
        QTest::newRow("S7") << "S70500001F4794" << 0 << 148;
        QTest::newRow("S6") << "S60500000009F1" << 2 << 241;
        QTest::newRow("7 left: half up to even") << "S1" + QString(15, u'0') << 4 << 255;
        QTest::newRow("5 left: half down to even") << "S1" + QString(13, u'0') << 2 << 255;
        QTest::newRow("S2 overhead 12") << "S2" + QString(14, u'1') << 2 << 255 - 0x11 * 6;
        QTest::newRow("S3 overhead 14") << "S3" + QString(16, u'1') << 2 << 255 - 0x11 * 7;
        QTest::newRow("S5 has none") << "S5030003F9" << 0 << 249;
        QTest::newRow("empty: the record's own line") << "" << 2 << 0x77;
    }

    // A line given is worked on and left alone; an empty one gets the
    // record's formatted line.
    void lineArguments() {
        QFETCH(QString, sLine);
        QFETCH(int, iDataBytes);
        QFETCH(int, iCheckSum);
        clsJRT_SRecord oRecord;
        Built(6, 0, 5, "8003")(oRecord);
        QString sForCount = sLine;
        QString sForSum = sLine;
        QCOMPARE(oRecord.DataByteCount(sForCount), iDataBytes);
        QCOMPARE(oRecord.CalcCheckSum(sForSum), iCheckSum);
        QCOMPARE(sForCount, sLine.isEmpty() ? QStringLiteral("S6050000800377") : sLine);
        QCOMPARE(sForSum, sForCount);
    }

    void dataByteCountOfAHugeLineOverflows() {
        QString sHuge = "S1" + QString(70'000, u'0');
        QCOMPARE(Raised([&] { clsJRT_SRecord().DataByteCount(sHuge); }),
                 Codec(6, "DataByteCount", "Overflow"));
    }

    // Without a line DataByteCount counts without formatting; it must give
    // what the formatted line gives, wide fields and errors included.
    void countWithoutFormattingAgrees() {
        QRandomGenerator oRandom(7);
        const qint16 aTypes[] = {0, 1, 2, 3, 5, 6, 7, 8, 9};
        for (int iRun = 0; iRun < 5000; ++iRun) {
            const qint32 lAddress = oRandom.bounded(4) == 0
                                        ? -1
                                        : qint32(oRandom.generate() >> 1 >> oRandom.bounded(31));
            clsJRT_SRecord oRecord;
            Built(aTypes[oRandom.bounded(9)], lAddress, qint16(oRandom.bounded(-1, 70)),
                  Hex(oRandom.bounded(65)))(oRecord);
            QString sLine;
            const QStringList aFormatError = Raised([&] { sLine = oRecord.Record(); });
            qint16 iCounted = -1;
            QCOMPARE(Raised([&] { iCounted = oRecord.DataByteCount(); }), aFormatError);
            QCOMPARE(iCounted, aFormatError.isEmpty() ? oRecord.DataByteCount(sLine) : -1);
        }
    }
};

QTEST_GUILESS_MAIN(tst_clsJRT_SRecord)
#include "tst_clsJRT_SRecord.moc"
