#include "clsImageSummary.h"

#include "clsApplication.h"
#include "mdlComms.h"

#include <QJsonArray>

#include <algorithm>

namespace {

constexpr qint64 lReplyLength = 14;
constexpr qint64 lEraseCommandLength = 14; // such as "S6050000800377"
constexpr int iBitsPerByte = 10;           // start, eight data and stop bits

bool IsBlank(const clsJRT_SRecord& oRecord, quint8 yFill) {
    const qint16 iCount = oRecord.DataByteCount();
    for (qint16 iOffset = 0; iOffset < iCount; ++iOffset) {
        if (oRecord.Data(iOffset) != yFill) {
            return false;
        }
    }
    return true;
}

// The terminate record's bytes on the line, its 0x00 included.
qint64 TerminateBytes(quint8 yTargetID) {
    switch (yTargetID) {
    case 21:
        return 14; // "S70500001F4794", sent without a 0x00
    case 22:
    case 24:
        return 11; // "S9030000FC" and its 0x00
    default:
        return 0;
    }
}

QString Hex(qint64 lValue, int iWidth) {
    return QStringLiteral("0x") +
           QString::number(lValue, 16).toUpper().rightJustified(iWidth, QLatin1Char('0'));
}

} // namespace

clsImageSummary::clsImageSummary(clsApplication& oApp)
    : yTargetID(oApp.TargetID()), lBaudRate(mdlComms::BaudRateFor(yTargetID)),
      yFillValue(oApp.FillValue()), aiEraseOrder(oApp.Sectors()) {
    std::reverse(aiEraseOrder.begin(), aiEraseOrder.end());
    lLineBytes = aiEraseOrder.size() * (lEraseCommandLength + 1 + lReplyLength);

    clsFlashImage& oImage = oApp.FlashImage();
    lImageSize = oImage.Top() + 1;
    lCheckSum = oImage.CheckSum();
    lUnrestricted = oImage.UnrestrictedBytes();

    // Export skips restricted cells only, so the gaps between records are
    // exactly the protected ranges.
    qint32 lNextAddress = 0;
    oImage.ResetBP();
    for (;;) {
        clsJRT_SRecord oRecord;
        try {
            oRecord = oImage.Export();
        } catch (const clsError& oError) {
            if (oError.Code() != clsFlashImage::EndOfImage) {
                throw;
            }
            break;
        }
        if (oRecord.Address() > lNextAddress) {
            aProtected.append({lNextAddress, oRecord.Address() - 1});
        }
        lNextAddress = oRecord.Address() + oRecord.DataByteCount();
        if (!IsBlank(oRecord, yFillValue)) {
            AddRecordLine(oRecord.Record());
        }
    }
    if (lNextAddress < lImageSize) {
        aProtected.append({lNextAddress, lImageSize - 1});
    }
    lLineBytes += TerminateBytes(yTargetID);
}

void clsImageSummary::AddRecordLine(const QString& sLine) {
    ++lRecords;
    lLineBytes += sLine.size() + 1 + lReplyLength;
}

double clsImageSummary::LineSeconds() const {
    return static_cast<double>(lLineBytes * iBitsPerByte) / lBaudRate;
}

QJsonObject clsImageSummary::ToJson() const {
    QJsonArray aErase;
    for (const qint16 iSector : aiEraseOrder) {
        aErase.append(iSector);
    }
    QJsonArray aRanges;
    for (const auto& [lFirst, lLast] : aProtected) {
        aRanges.append(QJsonArray{lFirst, lLast});
    }
    return {
        {QStringLiteral("target"), yTargetID},
        {QStringLiteral("baud"), lBaudRate},
        {QStringLiteral("fill"), yFillValue},
        {QStringLiteral("erase_order"), aErase},
        {QStringLiteral("protected"), aRanges},
        {QStringLiteral("image_size"), lImageSize},
        {QStringLiteral("records"), lRecords},
        {QStringLiteral("checksum"), lCheckSum},
        {QStringLiteral("unrestricted"), lUnrestricted},
        {QStringLiteral("line_seconds"), LineSeconds()},
    };
}

QString clsImageSummary::ToText() const {
    QStringList asErase;
    for (const qint16 iSector : aiEraseOrder) {
        asErase << QString::number(iSector);
    }
    QStringList asRanges;
    for (const auto& [lFirst, lLast] : aProtected) {
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
        .arg(yTargetID)
        .arg(lBaudRate)
        .arg(Hex(yFillValue, 2))
        .arg(asErase.isEmpty() ? sNone : asErase.join(QStringLiteral(", ")))
        .arg(asRanges.isEmpty() ? sNone : asRanges.join(QStringLiteral(", ")))
        .arg(lImageSize)
        .arg(lRecords)
        .arg(Hex(lCheckSum, 2))
        .arg(lUnrestricted)
        .arg(LineSeconds(), 0, 'f', 1);
}
