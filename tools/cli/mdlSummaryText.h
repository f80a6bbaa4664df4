#pragma once

#include "engine/clsUploadSummary.h"

#include <QJsonObject>
#include <QString>

// The upload summary as the inspect verb prints it.
namespace mdlSummaryText {

QJsonObject ToJson(const clsUploadSummary& oSummary);
// One "Name: value" line per fact, the values aligned.
QString ToText(const clsUploadSummary& oSummary);

} // namespace mdlSummaryText
