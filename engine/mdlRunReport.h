#pragma once

#include "core/clsError.h"

#include <QStringList>

// How a failure of the Run command is worded for the technician.
namespace mdlRunReport {

// The lines under "Error Number: " in the error box.
QStringList DetailLines(const clsError& oError);
// False for the errors the box words as an unknown error.
bool IsForeseen(const clsError& oError);
// The whole box text: "Error Number: " and the code, then the detail lines,
// separated by CR LF.
QString BoxText(const clsError& oError);

} // namespace mdlRunReport
