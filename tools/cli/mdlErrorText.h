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
// The box text, then a "Detail: " line where there is a detail, with
// control and format characters escaped.
QString ForTerminal(const clsError& oError);
// A text of the engine's, such as a box text, with control and format
// characters escaped in each of its lines, which end in CR LF.
QString Lines(const QString& sText);
// The same words on one line as "description" (never empty), with the
// code, and the line and path where they are known.
QJsonObject ToJson(const clsError& oError);

} // namespace mdlErrorText
