#include "engine/clsSerialField.h"
#include "tests/support/mdlRows.h"

#include <QTest>

// Where a serial number goes, as ADDRESS:BYTES[:FIRST] gives it.
namespace {

using eProblem = clsSerialField::Given::eProblem;

struct ParseRow {
    const char* sName;
    const char* sText;
    bool bWithFirst;
    eProblem iProblem;
    qint64 lAddress = 0;
    qint16 iBytes = 0;
    // -1 for none.
    qint64 lFirst = -1;
};

// clang-format off
const ParseRow aTexts[] = {
    {"0x before a hexadecimal address, and FIRST", "0x7000:4:100", true, eProblem::None, 0x7000, 4, 100},
    {"no FIRST", "FFFFFFFF:8", true, eProblem::None, 0xFFFFFFFF, 8},
    {"nine bytes", "7000:9", true, eProblem::Form},
    {"an address past 32 bits", "100000000:1", true, eProblem::Form},
    {"FIRST where none may follow", "7000:2:1", false, eProblem::Form},
    {"FIRST past what two bytes hold", "7000:2:65536", true, eProblem::First},
    {"FIRST below 0", "7000:2:-1", true, eProblem::First},
};
// clang-format on

} // namespace

Q_DECLARE_METATYPE(ParseRow)

class tst_clsSerialField : public QObject {
    Q_OBJECT

private slots:
    void parse_data() { mdlRows::Add(aTexts); }

    void parse() {
        QFETCH(ParseRow, oRow);
        const clsSerialField::Given oGiven = clsSerialField::Parse(oRow.sText, oRow.bWithFirst);
        QCOMPARE(oGiven.iProblem, oRow.iProblem);
        if (oRow.iProblem == eProblem::None) {
            QCOMPARE(oGiven.oField->Address(), oRow.lAddress);
            QCOMPARE(oGiven.oField->Bytes(), oRow.iBytes);
            QCOMPARE(oGiven.oFirst.value_or(-1), oRow.lFirst);
        }
    }
};

QTEST_GUILESS_MAIN(tst_clsSerialField)
#include "tst_clsSerialField.moc"
