#pragma once

#include "core/clsError.h"
#include "core/mdlErrorCodes.h"

// The upload engine's errors: its codes, listed in core, and the errors it
// makes of them.
namespace mdlEngineErrors {

using enum mdlErrorCodes::eCode;

// The error for lCode with its fixed source and description.
clsError Make(qint32 lCode);

// A command-file line that cannot be used: its number, what is wrong with
// it and, where there is one, the line itself, quoted safely, so that the
// technician can find and mend it.
clsError QuotedCommandFileLine(qint32 lLine, const QString& sProblem, const QString& sLine);
clsError CommandFileLine(qint32 lLine, const QString& sProblem);
// An application-file line that could not be read: error 2214, worded as a
// line that cannot be parsed.
clsError RecordFileLine(qint32 lLine, const QString& sProblem);

// True for what the file reader raises when a line cannot be read: a read
// error of the system, or a line too long to be one of ours.
bool IsReadFailure(const clsError& oError);
// What is wrong with such a line, as "is longer than ..." or "could not be
// read: " and the system's reason.
QString ReadFailure(const clsError& oError);

} // namespace mdlEngineErrors
