#include "engine/mdlRunReport.h"
#include "tests/support/mdlRows.h"

namespace {

struct ReportRow {
    const char* sName;
    qint32 lCode; // above the object-error base, or below 0 for the number itself
    QString sSource, sDescription;
    QStringList asLines; // under "Error Number: " and the code
};

const QString sCorrupt = "Application file may be corrupt.";
const QString sUnknown = "Unknown error in cmdRunStop event handler.";
const QString sCodec = "clsJRT_SRecord.Record";
const QString sData = "clsFlashImage.Data";

// Codes whose whole box the headless command's bad-input rows compare are
// left to them.
// clang-format off
const ReportRow aReports[] = {
    {"2003", 2003, "GetTargetID <sub> --- clsApplication", "Unable to determine expected target ID.",
     {"Unable to determine expected target ID."}},
    {"2010, a command-file line", 2010, "clsApplication.InitMemoryImage", "Line 3 ...",
     {"Line 3 ..."}},
    {"8002, the serial control's own number", -8002, "EstablishCom <sub> --- mdlComms",
     "Invalid port number", {"Invalid port number"}},
    {"2100", 2100, sData, "Invalid memory address passed",
     {"Invalid memory address passed", sCorrupt}},
    {"2102", 2102, sData, "Address has already been written to.",
     {"Address has already been written to.", sCorrupt}},
    {"2200", 2200, sCodec, "Not an S record",
     {sCorrupt, "Line in application file is not an 'S' record."}},
    {"2203, count against the line's length", 2203, sCodec,
     "Byte count does not match the length of the record.",
     {sCorrupt, "Byte count does not match the length of the record."}},
    {"2203, count out of range", 2203, "clsJRT_SRecord.ByteCount", "Invalid byte count.",
     {sUnknown}},
    {"2212, the number alone", 2212, "", "Application-defined error.", {sUnknown}},
    {"2005, not one of Run's", 2005, "", "", {sUnknown}},
};
// clang-format on

} // namespace

class tst_mdlRunReport : public QObject {
    Q_OBJECT

private slots:
    void boxText_data() { mdlRows::Add(aReports); }

    void boxText() {
        QFETCH(ReportRow, oRow);
        const clsError oError =
            oRow.lCode > 0 ? clsError::FromCode(oRow.lCode, oRow.sSource, oRow.sDescription)
                           : clsError(-oRow.lCode, oRow.sSource, oRow.sDescription);
        QCOMPARE(mdlRunReport::BoxText(oError), "Error Number: " + QString::number(oError.Code()) +
                                                    "\r\n" + oRow.asLines.join("\r\n"));
    }
};

QTEST_GUILESS_MAIN(tst_mdlRunReport)
#include "tst_mdlRunReport.moc"
