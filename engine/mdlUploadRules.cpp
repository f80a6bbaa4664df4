#include "engine/mdlUploadRules.h"

#include "records/clsBoardTarget.h"

#include <algorithm>

namespace mdlUploadRules {

bool IsBlank(const clsJRT_SRecord& oRecord, quint8 yFillValue) {
    const qint16 iCount = oRecord.DataByteCount();
    const auto aData = oRecord.LeadingData();
    if (qsizetype(aData.size()) < iCount) {
        oRecord.Data(qint16(aData.size())); // raises what reading that byte raises
    }
    return std::all_of(aData.begin(), aData.begin() + iCount,
                       [yFillValue](quint8 yByte) { return yByte == yFillValue; });
}

std::optional<clsJRT_SRecord> NextRecordToSend(clsFlashImage& oImage, quint8 yFillValue,
                                               const std::optional<clsSerialField>& oKept) {
    for (;;) {
        try {
            clsJRT_SRecord oRecord = oImage.Export();
            if (!IsBlank(oRecord, yFillValue) || (oKept && oKept->Holds(oRecord))) {
                return oRecord;
            }
        } catch (const clsError& oError) {
            if (oError.Code() != clsFlashImage::EndOfImage) {
                throw;
            }
            return std::nullopt;
        }
    }
}

qint32 BytesOnLine(const clsJRT_SRecord& oRecord) {
    return oRecord.LineLength() + 1;
}

clsJRT_SRecord EraseCommand(quint8 ySector) {
    clsJRT_SRecord oCommand;
    oCommand.SetRecType(6);
    oCommand.SetAddress(0);
    oCommand.SetByteCount(5);
    oCommand.SetData(0, 0x80);
    oCommand.SetData(1, ySector);
    return oCommand;
}

QList<qint16> EraseOrder(const QList<qint16>& aiSectors) {
    QList<qint16> aiOrder = aiSectors;
    std::reverse(aiOrder.begin(), aiOrder.end());
    return aiOrder;
}

QByteArray TerminateBytes(quint8 yTargetID) {
    const clsBoardTarget& oTarget = clsBoardTarget::For(yTargetID);
    QByteArray aBytes(oTarget.sTerminateRecord);
    if (oTarget.bZeroAfterTerminate) {
        aBytes.append('\0');
    }
    return aBytes;
}

} // namespace mdlUploadRules
