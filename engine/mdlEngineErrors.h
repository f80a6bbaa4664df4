#pragma once

#include "core/clsError.h"

// The upload engine's own error codes.
namespace mdlEngineErrors {

enum eCode : qint32 {
    OpenAppFileFailed = 2000,
    OpenCmdFileFailed = 2001,
    NoCommandFileName = 2002,
    NoTargetID = 2003,
    CommsFailed = 2004,
    WrongTarget = 2005,
    ResendLimit = 2006,
    ProgrammingError = 2007,
    UploadCancelled = 2008,
    NoFlashImage = 2009,
    BadCommandLine = 2010,
};

// The error for lCode with its fixed source and description.
clsError Make(qint32 lCode);

// A command-file line that cannot be read: its number, what is wrong with
// it and the line itself, so the technician can find and mend it.
clsError CommandFileLine(qint32 lLine, const QString& sProblem, const QString& sLine);

} // namespace mdlEngineErrors
