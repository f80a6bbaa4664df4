#include "engine/clsUploadProgress.h"

#include "engine/clsUploadSummary.h"
#include "engine/mdlUploadRules.h"

#include <algorithm>

clsUploadProgress clsUploadProgress::At(const clsUploadSummary& oSummary, qint32 lNewRecordsSent) {
    using namespace mdlUploadRules;
    clsUploadProgress oProgress;
    oProgress.lRecordsSent = lNewRecordsSent;
    oProgress.lRecordsToSend = oSummary.lRecordsToSend;
    oProgress.lBytesOnLine = oSummary.lBytesOnLine;
    // The sectors are erased before the first record goes.
    const qint64 lEraseBytes =
        oSummary.aiEraseOrder.size() * (lEraseCommandLength + 1 + lReplyLength);
    oProgress.lBytesSent = lEraseBytes + (oSummary.lBytesOnLine - lEraseBytes) * lNewRecordsSent /
                                             std::max(oSummary.lRecordsToSend, 1);
    oProgress.dSecondsLeft = oSummary.LineSeconds() *
                             double(oSummary.lBytesOnLine - oProgress.lBytesSent) /
                             double(std::max<qint64>(oSummary.lBytesOnLine, 1));
    return oProgress;
}

qint32 clsUploadProgress::Percent() const {
    return qint32(lBytesSent * 100 / std::max<qint64>(lBytesOnLine, 1));
}
