#include "engine/clsUploadSummary.h"

#include "engine/clsApplication.h"
#include "engine/mdlUploadRules.h"
#include "records/clsBoardTarget.h"

#include <QScopeGuard>

clsUploadSummary clsUploadSummary::Of(clsApplication& oApp) {
    using namespace mdlUploadRules;
    clsUploadSummary oSummary;
    oSummary.yTargetID = oApp.TargetID();
    oSummary.lBaudRate = clsBoardTarget::For(oSummary.yTargetID).lBaudRate;
    oSummary.yFillValue = oApp.FillValue();
    oSummary.aiEraseOrder = EraseOrder(oApp.Sectors());

    clsFlashImage& oImage = oApp.FlashImage();
    oSummary.aProtected = oImage.RestrictedRanges();
    oSummary.lImageSize = oImage.Top() + 1;
    oSummary.lCheckSum = oImage.CheckSum();
    oSummary.lUnrestrictedBytes = oImage.UnrestrictedBytes();
    oSummary.oSerialField = oApp.SerialField();
    const auto& oField = oSummary.oSerialField;

    qint64 lBytes = oSummary.aiEraseOrder.size() * (lEraseCommandLength + 1 + lReplyLength);
    const auto oGoBack = qScopeGuard(
        [&oImage, oWhereItWas = oImage.WalkPosition()] { oImage.SetWalkPosition(oWhereItWas); });
    oImage.ResetBP();
    while (const auto oRecord = NextRecordToSend(oImage, oSummary.yFillValue, oField)) {
        ++oSummary.lRecordsToSend;
        lBytes += BytesOnLine(*oRecord) + lReplyLength;
        if (oField && oField->Holds(*oRecord)) {
            oSummary.aSerialRecords.append(
                {oSummary.lRecordsToSend, oRecord->RecType(), oRecord->Address()});
        }
    }
    oSummary.lBytesOnLine = lBytes + TerminateBytes(oSummary.yTargetID).size();
    return oSummary;
}

double clsUploadSummary::LineSeconds() const {
    constexpr int iBitsPerByte = 10;
    return double(lBytesOnLine * iBitsPerByte) / lBaudRate;
}
