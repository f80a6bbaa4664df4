#include "engine/clsLedgerEntry.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <limits>

namespace {

// The line's keys, each written and read here alone.
constexpr QLatin1String sKeyStart("start");
constexpr QLatin1String sKeyEnd("end");
constexpr QLatin1String sKeyDuration("duration");
constexpr QLatin1String sKeyHost("host");
constexpr QLatin1String sKeyUser("user");
constexpr QLatin1String sKeyPort("port");
constexpr QLatin1String sKeyDevice("device");
constexpr QLatin1String sKeyFile("file");
constexpr QLatin1String sKeyFileSize("file_size");
constexpr QLatin1String sKeyFileSha256("file_sha256");
constexpr QLatin1String sKeyCommandFileSha256("command_file_sha256");
constexpr QLatin1String sKeyTarget("target");
constexpr QLatin1String sKeyImageChecksum("image_checksum");
constexpr QLatin1String sKeyRecords("records");
constexpr QLatin1String sKeyResult("result");
constexpr QLatin1String sKeyState("state");
constexpr QLatin1String sKeyCode("code");
constexpr QLatin1String sKeyMessage("message");
constexpr QLatin1String sKeySerial("serial");
constexpr QLatin1String sKeyNumber("number");
constexpr QLatin1String sKeyAddress("address");
constexpr QLatin1String sKeyBytes("bytes");
constexpr QLatin1String sKeyStore("store");
constexpr QLatin1String sKeyUsed("used");
constexpr QLatin1String sKeyReturned("returned");

QJsonValue OrNull(bool bKnown, const QJsonValue& vValue) {
    return bKnown ? vValue : QJsonValue();
}

// Local time with its offset from UTC.
QString Stamp(const QDateTime& oTime) {
    return oTime.toOffsetFromUtc(oTime.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

QString EndingName(std::optional<clsUploadSequence::eEnding> oEnding) {
    using E = clsUploadSequence::eEnding;
    if (!oEnding) {
        return QStringLiteral("run failed");
    }
    switch (*oEnding) {
    case E::Complete:
        return QStringLiteral("complete");
    case E::NoRecords:
        return QStringLiteral("no records");
    case E::Stopped:
        return QStringLiteral("stopped");
    case E::Declined:
        return QStringLiteral("declined");
    case E::TimedOut:
        return QStringLiteral("timed out");
    case E::BoardFailed:
        return QStringLiteral("board failed");
    case E::LinkFailed:
        return QStringLiteral("link failed");
    case E::UnknownReply:
        break;
    }
    return QStringLiteral("unknown reply");
}

// The application state by its name in the program.
QString StateName(qint32 lState) {
    static const QStringList asNames = {QStringLiteral("Idle"),     QStringLiteral("WaitTarget"),
                                        QStringLiteral("Erasing"),  QStringLiteral("Uploading"),
                                        QStringLiteral("Complete"), QStringLiteral("NoRecords")};
    return asNames.value(lState);
}

// The board's serial number and what became of it; null when it took none.
QJsonValue Serial(const std::optional<clsSerialNumbering::Use>& oSerial) {
    if (!oSerial) {
        return {};
    }
    return QJsonObject{{sKeyNumber, oSerial->lNumber},
                       {sKeyAddress, clsSerialField::Hex(oSerial->oField.Address())},
                       {sKeyBytes, oSerial->oField.Bytes()},
                       {sKeyStore, oSerial->sStore},
                       {sKeyUsed, oSerial->bUsed},
                       {sKeyReturned, oSerial->bReturned}};
}

// A whole number; none for any other value.
std::optional<qint64> Whole(const QJsonValue& vValue) {
    constexpr qint64 lNone = std::numeric_limits<qint64>::min();
    const qint64 lValue = vValue.toInteger(lNone);
    return lValue == lNone ? std::nullopt : std::optional(lValue);
}

std::optional<QString> Text(const QJsonValue& vValue) {
    return vValue.isString() ? std::optional(vValue.toString()) : std::nullopt;
}

} // namespace

QByteArray clsLedgerEntry::Line() const {
    const QJsonObject oLine{
        {sKeyStart, Stamp(oStart)},
        {sKeyEnd, Stamp(oEnd)},
        {sKeyDuration, double(oStart.msecsTo(oEnd)) / 1000},
        {sKeyHost, sHost},
        {sKeyUser, sUser},
        {sKeyPort, OrNull(iPort != 0, iPort)},
        {sKeyDevice, OrNull(!sDevice.isEmpty(), sDevice)},
        {sKeyFile, oFiles.sFile},
        {sKeyFileSize, OrNull(!oFiles.sFileSha256.isEmpty(), oFiles.lFileSize)},
        {sKeyFileSha256, OrNull(!oFiles.sFileSha256.isEmpty(), oFiles.sFileSha256)},
        {sKeyCommandFileSha256,
         OrNull(!oFiles.sCommandFileSha256.isEmpty(), oFiles.sCommandFileSha256)},
        {sKeyTarget, OrNull(oOutcome.yTargetID != 0, oOutcome.yTargetID)},
        {sKeyImageChecksum,
         OrNull(oOutcome.oImageCheckSum.has_value(), oOutcome.oImageCheckSum.value_or(0))},
        {sKeyRecords, oOutcome.lRecords},
        {sKeyResult, EndingName(oOutcome.oEnding)},
        {sKeyState, StateName(oOutcome.lState)},
        {sKeyCode, OrNull(oOutcome.lCode != 0, oOutcome.lCode)},
        {sKeyMessage, oOutcome.sWords},
        {sKeySerial, Serial(oOutcome.oSerial)}};
    return QJsonDocument(oLine).toJson(QJsonDocument::Compact) + '\n';
}

clsLedgerEntry::Recorded clsLedgerEntry::Read(const QJsonObject& oLine) {
    Recorded oRead;
    oRead.oStart = QDateTime::fromString(oLine[sKeyStart].toString(), Qt::ISODateWithMs);
    oRead.lPort = Whole(oLine[sKeyPort]);
    oRead.sDevice = Text(oLine[sKeyDevice]);
    oRead.sFile = oLine[sKeyFile].toString();
    oRead.lTarget = Whole(oLine[sKeyTarget]);
    oRead.lRecords = Whole(oLine[sKeyRecords]);
    oRead.sResult = Text(oLine[sKeyResult]);
    oRead.lCode = Whole(oLine[sKeyCode]);
    oRead.dDuration = oLine[sKeyDuration].toDouble();
    const QJsonObject oSerial = oLine[sKeySerial].toObject();
    if (!oSerial.isEmpty()) {
        oRead.oSerial = Recorded::SerialUse{Whole(oSerial[sKeyNumber]), oSerial[sKeyUsed].toBool(),
                                            oSerial[sKeyReturned].toBool()};
    }
    return oRead;
}
