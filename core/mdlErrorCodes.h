#pragma once

#include <QtGlobal>

// The upload's own error codes, above the object-error base. They sit below
// every layer that raises one: the engine, and the platform's counter store.
namespace mdlErrorCodes {

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
    // Ours: the serial number's field cannot go where it was asked to.
    SerialFieldUnusable = 2011,
    // Ours: no serial number can be had from the store.
    CounterUnusable = 2012,
};

} // namespace mdlErrorCodes
