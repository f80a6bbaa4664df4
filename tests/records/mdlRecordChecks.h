#pragma once

#include "clsError.h"

#include <QStringList>

#include <functional>

// Shared by the record tests: what a call raised, and lines with a checksum
// worked out apart from the codec.
namespace mdlRecordChecks {

// Code, source and description of what oCall raised; empty when it raised nothing.
inline QStringList Raised(const std::function<void()>& oCall) {
    try {
        oCall();
    } catch (const clsError& oError) {
        return {QString::number(oError.Code()), oError.Source(), oError.Description()};
    }
    return {};
}

inline QStringList Error(int iCode, const QString& sSource, const QString& sDescription) {
    return {QString::number(iCode), sSource, sDescription};
}

// sBody ("S", type, count, address, data) followed by its checksum.
inline QString WithCheckSum(const QString& sBody) {
    int iSum = 0;
    for (qsizetype i = 2; i + 1 < sBody.size(); i += 2) {
        iSum += sBody.mid(i, 2).toInt(nullptr, 16);
    }
    return sBody + QString::number(255 - iSum % 256, 16).toUpper().rightJustified(2, u'0');
}

} // namespace mdlRecordChecks
