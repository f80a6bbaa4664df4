#include "records/mdlFileErrors.h"

namespace mdlFileErrors {

clsError Make(qint32 lNumber) {
    static const auto sSource = QStringLiteral("clsFileTable");
    switch (lNumber) {
    case BadFileNameOrNumber:
        return {52, sSource, QStringLiteral("Bad file name or number")};
    case FileNotFound:
        return {53, sSource, QStringLiteral("File not found")};
    case BadFileMode:
        return {54, sSource, QStringLiteral("Bad file mode")};
    case DeviceIOError:
        return {57, sSource, QStringLiteral("Device I/O error")};
    case FileAlreadyOpen:
        return {55, sSource, QStringLiteral("File already open")};
    case BadRecordLength:
        return {59, sSource, QStringLiteral("Bad record length")};
    case InputPastEndOfFile:
        return {62, sSource, QStringLiteral("Input past end of file")};
    case TooManyFiles:
        return {67, sSource, QStringLiteral("Too many files")};
    case LineTooLong:
        return {LineTooLong, sSource, QStringLiteral("Line longer than 1,024 characters")};
    case PathFileAccessError:
        break;
    }
    return {75, sSource, QStringLiteral("Path/File access error")};
}

} // namespace mdlFileErrors
