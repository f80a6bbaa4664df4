#include "tools/cli/mdlSummaryText.h"

#include <QJsonArray>
#include <QStringList>

namespace {

QString Hex(qint64 lValue, int iWidth) {
    return QStringLiteral("0x") +
           QString::number(lValue, 16).toUpper().rightJustified(iWidth, QLatin1Char('0'));
}

// Where the serial number goes and the records that carry it.
QJsonObject SerialJson(const clsUploadSummary& oSummary) {
    QJsonArray aRecords;
    for (const clsUploadSummary::SerialRecord& oRecord : oSummary.aSerialRecords) {
        aRecords.append(QJsonObject{{QStringLiteral("position"), oRecord.lPosition},
                                    {QStringLiteral("type"), oRecord.iRecType},
                                    {QStringLiteral("address"), oRecord.lAddress}});
    }
    return {{QStringLiteral("address"), oSummary.oSerialField->Address()},
            {QStringLiteral("bytes"), oSummary.oSerialField->Bytes()},
            {QStringLiteral("records"), aRecords}};
}

// Such as "Serial number:      0x7000 to 0x7003, in record 2 (type 1 at
// 0x00007000)"; empty where no serial number goes into the image.
QString SerialLine(const clsUploadSummary& oSummary) {
    if (!oSummary.oSerialField) {
        return {};
    }
    QStringList asRecords;
    for (const clsUploadSummary::SerialRecord& oRecord : oSummary.aSerialRecords) {
        asRecords << QStringLiteral("%1 (type %2 at %3)")
                         .arg(oRecord.lPosition)
                         .arg(oRecord.iRecType)
                         .arg(Hex(oRecord.lAddress, 8));
    }
    return QStringLiteral("Serial number:      %1, in record%2 %3\n")
        .arg(oSummary.oSerialField->Range(), asRecords.size() > 1 ? QStringLiteral("s") : QString(),
             asRecords.join(QStringLiteral(" and ")));
}

} // namespace

namespace mdlSummaryText {

QJsonObject ToJson(const clsUploadSummary& oSummary) {
    QJsonArray aErase;
    for (const qint16 iSector : oSummary.aiEraseOrder) {
        aErase.append(iSector);
    }
    QJsonArray aRanges;
    for (const auto& [lFirst, lLast] : oSummary.aProtected) {
        aRanges.append(QJsonArray{lFirst, lLast});
    }
    QJsonObject oJson{
        {QStringLiteral("target"), oSummary.yTargetID},
        {QStringLiteral("baud"), oSummary.lBaudRate},
        {QStringLiteral("fill"), oSummary.yFillValue},
        {QStringLiteral("erase_order"), aErase},
        {QStringLiteral("protected"), aRanges},
        {QStringLiteral("image_size"), oSummary.lImageSize},
        {QStringLiteral("records"), oSummary.lRecordsToSend},
        {QStringLiteral("checksum"), oSummary.lCheckSum},
        {QStringLiteral("unrestricted"), oSummary.lUnrestrictedBytes},
        {QStringLiteral("line_seconds"), oSummary.LineSeconds()},
    };
    if (oSummary.oSerialField) {
        oJson.insert(QStringLiteral("serial"), SerialJson(oSummary));
    }
    return oJson;
}

QString ToText(const clsUploadSummary& oSummary) {
    QStringList asErase;
    for (const qint16 iSector : oSummary.aiEraseOrder) {
        asErase << QString::number(iSector);
    }
    QStringList asRanges;
    for (const auto& [lFirst, lLast] : oSummary.aProtected) {
        asRanges << Hex(lFirst, 8) + QLatin1Char('-') + Hex(lLast, 8);
    }
    const QString sNone = QStringLiteral("none");
    return QStringLiteral("Target ID:          %1\n"
                          "Baud rate:          %2\n"
                          "Fill value:         %3\n"
                          "Erase order:        %4\n"
                          "Protected:          %5\n"
                          "Image size:         %6 bytes\n"
                          "Records to send:    %7\n"
                          "Image checksum:     %8\n"
                          "Unrestricted bytes: %9\n"
                          "Time on the line:   %10 s\n")
               .arg(oSummary.yTargetID)
               .arg(oSummary.lBaudRate)
               .arg(Hex(oSummary.yFillValue, 2))
               .arg(asErase.isEmpty() ? sNone : asErase.join(QStringLiteral(", ")))
               .arg(asRanges.isEmpty() ? sNone : asRanges.join(QStringLiteral(", ")))
               .arg(oSummary.lImageSize)
               .arg(oSummary.lRecordsToSend)
               .arg(Hex(oSummary.lCheckSum, 2))
               .arg(oSummary.lUnrestrictedBytes)
               .arg(oSummary.LineSeconds(), 0, 'f', 1) +
           SerialLine(oSummary);
}

} // namespace mdlSummaryText
