#include "engine/clsLedgerEntry.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

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
    return QJsonObject{{QStringLiteral("number"), oSerial->lNumber},
                       {QStringLiteral("address"), clsSerialField::Hex(oSerial->oField.Address())},
                       {QStringLiteral("bytes"), oSerial->oField.Bytes()},
                       {QStringLiteral("store"), oSerial->sStore},
                       {QStringLiteral("used"), oSerial->bUsed},
                       {QStringLiteral("returned"), oSerial->bReturned}};
}

} // namespace

QByteArray clsLedgerEntry::Line() const {
    const QJsonObject oLine{
        {QStringLiteral("start"), Stamp(oStart)},
        {QStringLiteral("end"), Stamp(oEnd)},
        {QStringLiteral("duration"), double(oStart.msecsTo(oEnd)) / 1000},
        {QStringLiteral("host"), sHost},
        {QStringLiteral("user"), sUser},
        {QStringLiteral("port"), OrNull(iPort != 0, iPort)},
        {QStringLiteral("device"), OrNull(!sDevice.isEmpty(), sDevice)},
        {QStringLiteral("file"), oFiles.sFile},
        {QStringLiteral("file_size"), OrNull(!oFiles.sFileSha256.isEmpty(), oFiles.lFileSize)},
        {QStringLiteral("file_sha256"), OrNull(!oFiles.sFileSha256.isEmpty(), oFiles.sFileSha256)},
        {QStringLiteral("command_file_sha256"),
         OrNull(!oFiles.sCommandFileSha256.isEmpty(), oFiles.sCommandFileSha256)},
        {QStringLiteral("target"), OrNull(oOutcome.yTargetID != 0, oOutcome.yTargetID)},
        {QStringLiteral("image_checksum"),
         OrNull(oOutcome.oImageCheckSum.has_value(), oOutcome.oImageCheckSum.value_or(0))},
        {QStringLiteral("records"), oOutcome.lRecords},
        {QStringLiteral("result"), EndingName(oOutcome.oEnding)},
        {QStringLiteral("state"), StateName(oOutcome.lState)},
        {QStringLiteral("code"), OrNull(oOutcome.lCode != 0, oOutcome.lCode)},
        {QStringLiteral("message"), oOutcome.sWords},
        {QStringLiteral("serial"), Serial(oOutcome.oSerial)}};
    return QJsonDocument(oLine).toJson(QJsonDocument::Compact) + '\n';
}
