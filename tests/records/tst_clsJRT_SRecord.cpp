#include "clsJRT_SRecord.h"
#include "mdlRecordChecks.h"

#include <QTest>

using namespace mdlRecordChecks;

namespace {

using R = clsJRT_SRecord;
using Action = std::function<void(R&)>;
using ActionRow = std::tuple<Action, QString>;

Action Built(qint16 iType, qint32 lAddress = -1, qint16 iCount = -1, const QString& sData = {}) {
    return [=](R& oRecord) {
        oRecord.SetRecType(iType);
        if (lAddress > 0 || (lAddress == 0 && iType != 5)) {
            iType == 5 ? oRecord.SetNumRecs(lAddress) : oRecord.SetAddress(lAddress);
        }
        if (iCount >= 0) {
            oRecord.SetByteCount(iCount);
        }
        for (qint16 i = 0; i < sData.size() / 2; ++i) {
            oRecord.SetData(i, quint8(sData.mid(2 * i, 2).toUInt(nullptr, 16)));
        }
    };
}

// Parses into a record of its own: a failed parse keeps what it stored.
Action Parse(const QString& sLine) {
    return [=](R&) { Parsed(sLine); };
}

qint16 CountIn(QString sLine) {
    return R().DataByteCount(sLine);
}

// Lines that parse and format back to themselves: among them an S5 with a
// count of 0, kept as read, a type-6 count in decimal, and hex digits read
// in lower case and written in upper case.
const QStringList aGoodLines =
    QStringList{"S9030000FC", "S70500001F4794", "S60500000009F1", "S00600004844521B",
                "S5030003F9", "S5030000FC",     "S1050010abcd72"} +
    QStringList{WithCheckSum("S611FFFF" + Hex(8)), WithCheckSum("S2080123450A0B0C0D"),
                WithCheckSum("S3457FFFFFFF" + Hex(64, 9)), WithCheckSum("S804ABCDEF")};

// What a fresh record formats to after the action, or the error raised.
// Formatting checks for 2208, 2210, 2211, 2212 and 2209 in this order and
// raises the first four with the number alone. Each code appears once with
// its full text; further rows check number and source.
const ActionRow aCases[] = {
    // The erase command of the board dialogue.
    {Built(6, 0, 5, "8003"), "S6050000800377"},
    // Types 5, 7, 8 and 9 leave set slots out.
    {Built(9, 0, 3, "01"), "S9030000FC"},
    // Values wider than their field are written in full.
    {Built(1, 0x12345, 4, "AB"), "S10412345AB5B"},
    {Built(5, 0x12345, 3), "S50312345B6"},
    // Parsing does not clear: the longer first line's trailing bytes stay.
    {[](R& o) { o.SetRecord("S1070000AABBCCDDEA"), o.SetRecord("S1050010EEFFFD"); },
     "S1050010EEFFCCDD54"},
    {[](R&) {}, "2208 : Application-defined error."},
    {Built(1), "2210 : Application-defined error."},
    {Built(5), "2211 : Application-defined error."},
    {Built(3, 0), "2212 : Application-defined error."},
    // A header without data parses but cannot be formatted.
    {[](R& o) { o.SetRecord("S0030000FC"); }, "2212 : Application-defined error."},
    {Built(3, 0, -1, "01"), "2209 .ByteCount: Byte count not set."},
    {Parse("s9030000FC"), "2200 .Record: Not an S record"},
    // The checksum is checked before the type.
    {Parse("S4030000FD"), "2201 .Record: Data checksum does not match record checksum"},
    {Parse("S4030000FC"), "2202 .RecType: Invalid record type."},
    {Parse(WithCheckSum("S34600000000" + Hex(65))), "2203 .ByteCount: Invalid byte count."},
    // Cut short, with its last pair matching the checksum: the count gives it away.
    {Parse(WithCheckSum("S1060000AABB")),
     "2203 .Record: Byte count does not match the length of the record."},
    // 10 MB, checksum matching.
    {Parse("S1" + QString(10'000'000, u'0') + "FF"), "2203 .Record"},
    // An address beyond the signed 32-bit range.
    {Parse(WithCheckSum("S30680000000AA")), "2204 .Address: An invalid address was requested."},
    {[](R& o) { o.SetNumRecs(0); }, "2205 .NumRecs: Invalid number of records."},
    {[](R& o) { o.Data(64); }, "2206 .Data: The byte offset in out of the records range."},
    {[](R& o) { o.SetData(-1, 1); }, "2206 .Data: Invalid byte number requested."},
    // 65 data bytes under a count that matches the length.
    {Parse(WithCheckSum("S1440000" + Hex(65))), "2206 .Data"},
    {[](R& o) { o.SetCheckSum(-1); }, "2207 .CheckSum: Invalid checksum passed."},
    // Fields read before they were set.
    {[](R& o) { o.RecType(); }, "2208 .RecType: Record type not set."},
    {[](R& o) { o.ByteCount(); }, "2209 .ByteCount: Byte count not set."},
    {[](R& o) { o.Address(); }, "2210 .Address: Address not set."},
    {[](R& o) { o.NumRecs(); }, "2211 .NumRecs: Number of records not set."},
    {[](R& o) { o.Data(1); }, "2212 .Data: No data has been set at this address."},
    {[](R& o) { o.CheckSum(); }, "2213 .CheckSum: Checksum not set."},
    {Parse("S1050000ABCG00"), "2214 .Record: Record field cannot be read as a number."},
    // Counts of types 5 to 9 are decimal; then a line of odd length.
    {Parse(WithCheckSum("S90A0000")), "2214 .Record"},
    {Parse(WithCheckSum("S9030000") + "0"), "2214 .Record"},
    // 35,000 data bytes do not fit the 16-bit count.
    {[](R&) { CountIn(QString(70'000, u'1')); }, "6 .DataByteCount: Overflow"},
};

} // namespace

class tst_clsJRT_SRecord : public QObject {
    Q_OBJECT

private slots:
    // Formatting gives the line again. CalcCheckSum works on a line given and
    // leaves it alone; with an empty one it formats the record's own.
    void parsesAndFormatsAgain() {
        for (const QString& sLine : aGoodLines) {
            const R oRecord = Parsed(sLine);
            QString sOwn, sGiven = sLine;
            QCOMPARE(oRecord.CalcCheckSum(sOwn), R().CalcCheckSum(sGiven));
            QCOMPARE(sOwn + sGiven, sLine.toUpper() + sLine);
            QCOMPARE(oRecord.CheckSum(), sLine.right(2).toInt(nullptr, 16));
            QCOMPARE(oRecord.DataByteCount(), qsizetype(oRecord.LeadingData().size()));
        }
        // From a line's length, an odd remainder of characters rounds half to even.
        QCOMPARE(CountIn("S1" + QString(15, u'0')), 4);
        QCOMPARE(CountIn("S1" + QString(13, u'0')), 2);
    }

    void buildsFormatsAndRefuses_data() { AddRows(aCases); }

    // CalcCheckSum, and DataByteCount, which counts without formatting, agree
    // with formatting, errors included.
    void buildsFormatsAndRefuses() {
        QFETCH(ActionRow, oRow);
        const auto& [oAction, sExpected] = oRow;
        R oRecord;
        QString sLine, sRaised = Raised([&] { oAction(oRecord); });
        qint16 iCount = -1;
        if (sRaised.isEmpty()) {
            sRaised = Raised([&] { sLine = oRecord.Record(); });
            QCOMPARE(Raised([&] { oRecord.CalcCheckSum(); }), sRaised);
            QCOMPARE(Raised([&] { iCount = oRecord.DataByteCount(); }), sRaised);
            QCOMPARE(iCount, sLine.isEmpty() ? -1 : CountIn(sLine));
        }
        QVERIFY2(Matches(sRaised.isEmpty() ? sLine : sRaised, sExpected, "clsJRT_SRecord"),
                 qPrintable(sRaised));
    }

    // A line cut anywhere, or with any one character turned into a NUL or a
    // non-ASCII character, is refused with an error, never a crash.
    void damagedLinesAreRefused() {
        for (const QString& sLine : aGoodLines) {
            for (qsizetype i = 0; i < sLine.size(); ++i) {
                QVERIFY(!Raised([&] { Parsed(sLine.left(i)); }).isEmpty());
                for (QChar cBad : {QChar(0), QChar(0xE9), QChar(0x4E00)}) {
                    QVERIFY(!Raised([&] { Parsed(QString(sLine).replace(i, 1, cBad)); }).isEmpty());
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(tst_clsJRT_SRecord)
#include "tst_clsJRT_SRecord.moc"
