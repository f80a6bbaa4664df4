#pragma once

#include "core/clsError.h"

#include <QJsonObject>
#include <QString>

// A failure as the headless command prints it: the words of the window's
// error box, and what a person at a terminal needs besides.
namespace mdlErrorText {

// The source and description of an error the box calls unknown, and the
// file, line and reason where they are known; empty when there is none.
QString Detail(const clsError& oError);
// The box text, then a "Detail: " line where there is a detail.
QString ForTerminal(const clsError& oError);
// The same words on one line as "description" (never empty), with the
// code, and the line and path where they are known.
QJsonObject ToJson(const clsError& oError);

} // namespace mdlErrorText
