#pragma once

#include "core/clsError.h"

// The file service's own error numbers, raised by the file table and by
// each open file alike.
namespace mdlFileErrors {

enum eFileError : qint32 {
    BadFileNameOrNumber = 52,
    FileNotFound = 53,
    BadFileMode = 54,
    FileAlreadyOpen = 55,
    DeviceIOError = 57,
    BadRecordLength = 59,
    InputPastEndOfFile = 62,
    TooManyFiles = 67,
    PathFileAccessError = 75,
    // Ours: a text line beyond what any line of ours needs.
    LineTooLong = 1024,
};

// The error lNumber with its words; raised from the file table, as its
// source says.
clsError Make(qint32 lNumber);

} // namespace mdlFileErrors
