#include "engine/mdlRunReport.h"
#include "tests/support/mdlRows.h"

namespace {

struct ReportRow {
    const char* sName;
    qint32 lCode; // above the object-error base, or below 0 for the number itself
    QString sSource, sDescription;
    QStringList asLines; // under "Error Number: " and the code
};

const QString sOpen = "OpenFiles <sub> --- clsApplication";
const QString sCorrupt = "Application file may be corrupt.";
const QString sUnknown = "Unknown error in cmdRunStop event handler.";
const QString sCodec = "clsJRT_SRecord.Record";
const QString sData = "clsFlashImage.Data";

// clang-format off
const ReportRow aReports[] = {
    {"2000", 2000, sOpen, "Unable to open application file.", {"Unable to open application file."}},
    {"2002, the number alone", 2002, "", "",
     {"Unable to determine command file name.", "Check that the record file name is valid."}},
    {"2003", 2003, "GetTargetID <sub> --- clsApplication", "Unable to determine expected target ID.",
     {"Unable to determine expected target ID."}},
    {"2010, a command-file line", 2010, "clsApplication.InitMemoryImage", "Line 3 ...",
     {"Line 3 ..."}},
    {"8002, the serial control's own number", -8002, "EstablishCom <sub> --- mdlComms",
     "Invalid port number", {"Invalid port number"}},
    {"2100", 2100, sData, "Invalid memory address passed",
     {"Invalid memory address passed", sCorrupt}},
    {"2101", 2101, sData, "Address is a restricted byte.",
     {"Application & command file do not agree.", "Address is a restricted byte."}},
    {"2102", 2102, sData, "Address has already been written to.",
     {"Address has already been written to.", sCorrupt}},
    {"2200", 2200, sCodec, "Not an S record",
     {sCorrupt, "Line in application file is not an 'S' record."}},
    {"2201", 2201, sCodec, "Data checksum does not match record checksum",
     {sCorrupt, "Line in application file has a checksum error."}},
    {"2203, count against the line's length", 2203, sCodec,
     "Byte count does not match the length of the record.",
     {sCorrupt, "Byte count does not match the length of the record."}},
    {"2203, count out of range", 2203, "clsJRT_SRecord.ByteCount", "Invalid byte count.",
     {sUnknown}},
    {"2214, a field that is no number", 2214, sCodec, "Record field cannot be read as a number.",
     {sCorrupt, "Record field cannot be read as a number."}},
    {"2202", 2202, "clsJRT_SRecord.RecType", "Invalid record type.", {sUnknown}},
    {"2212, the number alone", 2212, "", "Application-defined error.", {sUnknown}},
    {"2005, not one of Run's", 2005, "", "", {sUnknown}},
    {"7, out of memory", -7, "", "Out of memory", {sUnknown}},
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
