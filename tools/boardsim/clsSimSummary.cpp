#include "tools/boardsim/clsSimSummary.h"

#include "tools/boardsim/clsBoardFlash.h"

#include <QJsonArray>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

constexpr qint64 lNsPerUs = 1000;

// The nearest-rank percentile, in microseconds; 0 without values.
qint64 PercentileUs(QList<qint64> alValues, double dPercent) {
    if (alValues.isEmpty()) {
        return 0;
    }
    std::sort(alValues.begin(), alValues.end());
    const auto lRank = qsizetype(std::ceil(dPercent / 100.0 * double(alValues.size())));
    return alValues[std::max<qsizetype>(lRank, 1) - 1] / lNsPerUs;
}

QJsonArray Numbers(const QList<qint32>& alValues) {
    QJsonArray aJson;
    for (const qint32 lValue : alValues) {
        aJson.append(lValue);
    }
    return aJson;
}

QList<qint32> ByteValues(const QByteArray& aBytes) {
    QList<qint32> alValues;
    for (const char yByte : aBytes) {
        alValues.append(quint8(yByte));
    }
    return alValues;
}

QJsonArray BadLines(const QList<clsSimSummary::BadLine>& aBadLines) {
    QJsonArray aJson;
    for (const clsSimSummary::BadLine& oBad : aBadLines) {
        aJson.append(QJsonObject{{QStringLiteral("line"), oBad.lLine},
                                 {QStringLiteral("text"), QString::fromLatin1(oBad.aText)},
                                 {QStringLiteral("why"), oBad.sWhy}});
    }
    return aJson;
}

} // namespace

QJsonObject clsSimSummary::ToJson(const clsBoardFlash& oFlash) const {
    const bool bLines = lTargetByteAt >= 0 && lLastLineAt >= 0;
    return {
        {QStringLiteral("board"), lBoard},
        {QStringLiteral("target"), yTarget},
        {QStringLiteral("announced"), yAnnounced},
        {QStringLiteral("port_opens"), lPortOpens},
        {QStringLiteral("answer"), Numbers(ByteValues(aAnswer))},
        {QStringLiteral("answer_right"), bAnswerRight},
        {QStringLiteral("baud_rate"), lBaudRate},
        {QStringLiteral("baud_right"), bBaudRight},
        {QStringLiteral("lines"), lLines},
        {QStringLiteral("erase_sectors"), Numbers(alEraseSectors)},
        {QStringLiteral("data_records"), lDataRecords},
        {QStringLiteral("resend_requests"), lResendRequests},
        {QStringLiteral("terminate_seen"), bTerminateSeen},
        {QStringLiteral("terminate_whole"), bTerminateWhole},
        {QStringLiteral("bad_lines"), BadLines(aBadLines)},
        {QStringLiteral("flash_size"), oFlash.Size()},
        {QStringLiteral("flash_sha256"), oFlash.Sha256()},
        {QStringLiteral("first_byte_to_last_line_us"),
         bLines ? (lLastLineAt - lTargetByteAt) / lNsPerUs : 0},
        {QStringLiteral("turnarounds"), alTurnarounds.size()},
        {QStringLiteral("turnaround_median_us"), PercentileUs(alTurnarounds, 50)},
        {QStringLiteral("turnaround_p99_us"), PercentileUs(alTurnarounds, 99)},
        {QStringLiteral("turnaround_total_us"),
         std::accumulate(alTurnarounds.begin(), alTurnarounds.end(), qint64(0)) / lNsPerUs},
        {QStringLiteral("replies_late_total_us"), lRepliesLate / lNsPerUs},
        {QStringLiteral("replies_early_total_us"), lRepliesEarly / lNsPerUs},
        {QStringLiteral("ended"), sEnded},
    };
}
