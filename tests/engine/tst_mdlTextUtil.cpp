#include "engine/mdlTextUtil.h"
#include "tests/support/mdlRows.h"

namespace {

struct SplitRow {
    const char* sName;
    QString sText, sDelimiter;
    bool bTrim;
    QStringList asFields;
};

// clang-format off
const SplitRow aSplits[] = {
    {"spaces around fields", "a , b ,c", ",", true, {"a", "b", "c"}},
    {"two delimiters in a row", "a,,b", ",", true, {"a", "", "b"}},
    {"empty text", "", ",", true, {""}},
    {"delimiter at the end", "1,4000,", ",", true, {"1", "4000", ""}},
    {"only spaces trimmed", "\t1 ,x", ",", true, {"\t1", "x"}},
    {"longer delimiter, untrimmed", "aXb-- c--", "--", false, {"aXb", " c", ""}},
    {"empty delimiter", "a,b", "", false, {"a,b"}},
};
// clang-format on

// Each conversion's result as text, "-" where the text is refused.
struct ConversionRow {
    const char* sName;
    QString sText, sByte, sLong, sInteger;
};

// clang-format off
const ConversionRow aConversions[] = {
    {"plain digits", "16", "22", "22", "16"},
    {"lower case, spaces around", " ff ", "255", "255", "-"},
    {"leading zeros", "00018", "24", "24", "18"},
    {"past a byte", "100", "-", "256", "100"},
    {"FFFFFFFF is -1", "FFFFFFFF", "-", "-1", "-"},
    {"33 bits", "100000000", "-", "-", "-"},
    {"negative decimal", "-5", "-", "-", "-5"},
    {"16-bit top", "32767", "-", "206695", "32767"},
    {"past the 16-bit top", "32768", "-", "206696", "-"},
    {"16-bit bottom", "-32768", "-", "-", "-32768"},
    {"past the 16-bit bottom", "-32769", "-", "-", "-"},
    {"empty", "", "-", "-", "-"},
    {"space inside", "1 6", "-", "-", "-"},
    {"tab after", "16\t", "-", "-", "-"},
    {"0x prefix", "0x16", "-", "-", "-"},
    {"fraction", "1.5", "-", "-", "-"},
};
// clang-format on

struct QuoteRow {
    const char* sName;
    QString sText, sQuoted;
};

// clang-format off
const QuoteRow aQuotes[] = {
    {"plain", "1,0,FF,R", "\"1,0,FF,R\""},
    {"controls escaped", QString("a\tb\x1B[2J") + QChar(0) + "c", "\"a\\tb\\x1b[2J\\x00c\""},
    {"quote and backslash escaped", "a\"b\\c", "\"a\\\"b\\\\c\""},
    {"cut after 80 characters", QString(85, u'x'), '"' + QString(80, u'x') + "\" and 5 characters more"},
};
// clang-format on

template <typename Optional> QString Shown(const Optional& oValue) {
    return oValue ? QString::number(*oValue) : QStringLiteral("-");
}

} // namespace

class tst_mdlTextUtil : public QObject {
    Q_OBJECT

private slots:
    void splitText_data() { mdlRows::Add(aSplits); }

    void splitText() {
        QFETCH(SplitRow, oRow);
        QCOMPARE(mdlTextUtil::SplitText(oRow.sText, oRow.sDelimiter, oRow.bTrim), oRow.asFields);
    }

    void quoted_data() { mdlRows::Add(aQuotes); }

    void quoted() {
        QFETCH(QuoteRow, oRow);
        QCOMPARE(mdlTextUtil::Quoted(oRow.sText), oRow.sQuoted);
    }

    void conversions_data() { mdlRows::Add(aConversions); }

    void conversions() {
        QFETCH(ConversionRow, oRow);
        QCOMPARE(Shown(mdlTextUtil::HexToByte(oRow.sText)), oRow.sByte);
        QCOMPARE(Shown(mdlTextUtil::HexToLong(oRow.sText)), oRow.sLong);
        QCOMPARE(Shown(mdlTextUtil::TextToInteger(oRow.sText)), oRow.sInteger);
    }
};

QTEST_GUILESS_MAIN(tst_mdlTextUtil)
#include "tst_mdlTextUtil.moc"
