#include "tools/cli/clsSerialOptions.h"

#include "platform/mdlDataPaths.h"

#include <QFileInfo>

namespace {

QString SerialHelp(bool bUpload) {
    if (!bUpload) {
        return QStringLiteral("Check that a serial number BYTES (1 to 8) wide fits at ADDRESS "
                              "(hexadecimal) as upload --serial places it, and tell which record "
                              "carries it.");
    }
    return QStringLiteral(
        "Write each board's own serial number into its image at ADDRESS (hexadecimal), BYTES "
        "(1 to 8) wide, most significant byte first, before its records are sent; the record "
        "that holds it is sent even where the rest is fill. A board takes the lowest number the "
        "counter file got back, else its next, and gives it back when its upload does not "
        "complete. FIRST (decimal) starts the counter, or moves it up; one that stands past "
        "FIRST goes on. Without FIRST the counter file must exist.");
}

} // namespace

clsSerialOptions::clsSerialOptions(bool bNewUpload)
    : bUpload(bNewUpload), oSerial(QStringLiteral("serial"), SerialHelp(bNewUpload),
                                   bNewUpload ? QStringLiteral("ADDRESS:BYTES[:FIRST]")
                                              : QStringLiteral("ADDRESS:BYTES")),
      oStore(QStringLiteral("serial-store"),
             QStringLiteral("The counter file of serial numbers for --serial; default "
                            "serials.json beside the ledger, in "
                            "$XDG_DATA_HOME/Quellis/Tessivar."),
             QStringLiteral("FILE")) {}

void clsSerialOptions::AddTo(QCommandLineParser& oParser) const {
    oParser.addOption(oSerial);
    if (bUpload) {
        oParser.addOption(oStore);
    }
}

QString clsSerialOptions::Take(const QCommandLineParser& oParser) {
    const bool bStore = bUpload && oParser.isSet(oStore);
    if (!oParser.isSet(oSerial)) {
        return bStore ? QStringLiteral("--serial-store goes with --serial.") : QString();
    }
    if (const QString sWhy = TakeField(oParser.value(oSerial)); !sWhy.isEmpty()) {
        return sWhy;
    }
    if (bStore && oParser.value(oStore).isEmpty()) {
        return QStringLiteral("--serial-store takes a file.");
    }
    sStore = bStore ? QFileInfo(oParser.value(oStore)).absoluteFilePath()
                    : mdlDataPaths::SerialNumberStore();
    return {};
}

QString clsSerialOptions::TakeField(const QString& sValue) {
    using eProblem = clsSerialField::Given::eProblem;
    const clsSerialField::Given oGiven = clsSerialField::Parse(sValue, bUpload);
    switch (oGiven.iProblem) {
    case eProblem::Form:
        return QStringLiteral("--serial takes %1: ADDRESS in hexadecimal, BYTES from 1 to 8%2.")
            .arg(oSerial.valueName(),
                 bUpload ? QStringLiteral(", FIRST a decimal number") : QString());
    case eProblem::First:
        return QStringLiteral("--serial: FIRST takes a whole number from 0 to %1, the largest "
                              "BYTES allow.")
            .arg(oGiven.oField->Largest());
    case eProblem::None:
        break;
    }
    oField = oGiven.oField;
    oFirst = oGiven.oFirst;
    return {};
}

std::unique_ptr<clsSerialNumbering> clsSerialOptions::Numbering() const {
    return oField ? std::make_unique<clsSerialNumbering>(*oField, sStore, oFirst) : nullptr;
}

QStringList clsSerialOptions::ChildArguments() const {
    if (!oField) {
        return {};
    }
    return {
        QStringLiteral("--serial"),
        QStringLiteral("%1:%2").arg(clsSerialField::Hex(oField->Address())).arg(oField->Bytes()),
        QStringLiteral("--serial-store"), sStore};
}
