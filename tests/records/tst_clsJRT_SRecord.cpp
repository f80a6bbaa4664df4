#include "records/clsJRT_SRecord.h"
#include "tests/records/mdlRecordChecks.h"
#include "tests/support/mdlRows.h"

using namespace mdlRecordChecks;

namespace {

using R = clsJRT_SRecord;
using Action = std::function<void(R&)>;

Action Built(qint16 iType, qint32 lAddress, qint16 iCount = -1, const QString& sData = {}) {
    return [=](R& oRecord) {
        oRecord.SetRecType(iType);
        oRecord.SetAddress(lAddress);
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

struct LineRow {
    const char* sName;
    QString sLine;
};

const LineRow aGoodLines[] = {
    {"terminate, type 9", "S9030000FC"},
    {"terminate, type 7", "S70500001F4794"},
    {"header with data", "S00600004844521B"},
    {"record count 0, kept as read", "S5030000FC"},
    {"lower-case digits", "S1050010abcd72"},
    {"type 6, decimal count 11", WithCheckSum("S611FFFF" + Hex(8))},
    {"type 2", WithCheckSum("S2080123450A0B0C0D")},
    {"type 3, 64 bytes, top address", WithCheckSum("S3457FFFFFFF" + Hex(64, 9))},
};

const QString asBadCharacters =
    QStringLiteral("/:@G`g") + QChar(0) + QChar(0xE9) + QChar(0x4E00) + QChar(0x130) + QChar(0x141);

struct CaseRow {
    const char* sName;
    Action oAction;
    QString sExpected; // the formatted line, or the error
};

// Formatting checks for data before the count and raises 2212 with the
// number alone.
const QString sAlone = ": Application-defined error.";
const CaseRow aCases[] = {
    {"type 9 leaves set slots out", Built(9, 0, 3, "01"), "S9030000FC"},
    {"wide address written in full", Built(1, 0x12345, 4, "AB"), "S10412345AB5B"},
    {"second parse keeps the longer first line's bytes",
     [](R& o) { o.SetRecord("S1070000AABBCCDDEA"), o.SetRecord("S1050010EEFFFD"); },
     "S1050010EEFFCCDD54"},
    {"format data record without data", Built(3, 0), "2212 " + sAlone},
    {"format without count", Built(3, 0, -1, "01"), "2209 .ByteCount: Byte count not set."},
    {"lower-case s", Parse("s9030000FC"), "2200 .Record: Not an S record"},
    {"checksum before type", Parse("S4030000FD"),
     "2201 .Record: Data checksum does not match record checksum"},
    {"count 70", Parse(WithCheckSum("S34600000000" + Hex(65))),
     "2203 .ByteCount: Invalid byte count."},
    {"cut short, last pair matching the checksum", Parse(WithCheckSum("S1060000AABB")),
     "2203 .Record: Byte count does not match the length of the record."},
    {"10 MB, checksum matching", Parse("S1" + QString(10'000'000, u'0') + "FF"), "2203 .Record"},
    {"address beyond signed 32 bits", Parse(WithCheckSum("S30680000000AA")),
     "2204 .Address: An invalid address was requested."},
    {"write slot -1", [](R& o) { o.SetData(-1, 1); }, "2206 .Data: Invalid byte number requested."},
    {"65 data bytes, count matching", Parse(WithCheckSum("S1440000" + Hex(65))), "2206 .Data"},
    {"type 9 count in hex", Parse(WithCheckSum("S90A0000")), "2214 .Record"},
};

} // namespace

class tst_clsJRT_SRecord : public QObject {
    Q_OBJECT

private slots:
    void goodLines_data() { mdlRows::Add(aGoodLines); }

    // Formatting gives the line again, in upper case. CalcCheckSum works on a
    // line given and leaves it alone; with an empty one it formats the
    // record's own. Counting and the length agree with the formatted line.
    // Cut anywhere, or with any one character turned into one next to a
    // digit, a NUL or one beyond ASCII (also one whose low byte is a digit),
    // the line is refused, never a crash.
    void goodLines() {
        QFETCH(LineRow, oRow);
        const QString& sLine = oRow.sLine;
        const R oRecord = Parsed(sLine);
        QString sOwn, sGiven = sLine;
        QCOMPARE(oRecord.CalcCheckSum(sOwn), R().CalcCheckSum(sGiven));
        QCOMPARE(sOwn + sGiven, sLine.toUpper() + sLine);
        QCOMPARE(oRecord.CheckSum(), sLine.right(2).toInt(nullptr, 16));
        QCOMPARE(oRecord.DataByteCount(), qsizetype(oRecord.LeadingData().size()));
        QCOMPARE(oRecord.LineLength(), sLine.size());
        for (qsizetype i = 0; i < sLine.size(); ++i) {
            QVERIFY(!Text([&] { Parsed(sLine.left(i)); }).isEmpty());
            for (QChar sBad : asBadCharacters) {
                QVERIFY(!Text([&] { Parsed(QString(sLine).replace(i, 1, sBad)); }).isEmpty());
            }
        }
    }

    void buildsFormatsAndRefuses_data() { mdlRows::Add(aCases); }

    // CalcCheckSum, and DataByteCount and LineLength, which work without
    // formatting, agree with formatting, errors included.
    void buildsFormatsAndRefuses() {
        QFETCH(CaseRow, oRow);
        R oRecord;
        QString sLine, sRaised = Text([&] { oRow.oAction(oRecord); });
        qint16 iCount = -1;
        qint32 lLength = -1;
        if (sRaised.isEmpty() && !oRow.sExpected.isEmpty()) {
            sRaised = Text([&] { sLine = oRecord.Record(); });
            QCOMPARE(Text([&] { oRecord.CalcCheckSum(); }), sRaised);
            QCOMPARE(Text([&] { iCount = oRecord.DataByteCount(); }), sRaised);
            QCOMPARE(Text([&] { lLength = oRecord.LineLength(); }), sRaised);
            QCOMPARE(iCount, sLine.isEmpty() ? -1 : CountIn(sLine));
            QCOMPARE(lLength, sLine.isEmpty() ? -1 : sLine.size());
        }
        QVERIFY2(Matches(sRaised.isEmpty() ? sLine : sRaised, oRow.sExpected, "clsJRT_SRecord"),
                 qPrintable(sRaised));
    }
};

QTEST_GUILESS_MAIN(tst_clsJRT_SRecord)
#include "tst_clsJRT_SRecord.moc"
