#include "records/clsFileTable.h"

clsError clsFileTable::Error(qint32 lNumber) {
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

clsFileTable& clsFileTable::Instance() {
    // Never destroyed: file objects held in static storage may close their
    // files after any other static has gone.
    static auto* oTable = new clsFileTable;
    return *oTable;
}

bool clsFileTable::InRange(qint16 iNumber) {
    return iNumber >= iFirstNumber && iNumber <= iLastNumber;
}

bool clsFileTable::IsOpen(qint16 iNumber) const {
    return InRange(iNumber) && aEntries[iNumber].oFile != nullptr;
}

clsOpenFile* clsFileTable::File(qint16 iNumber, const void* oOwner) {
    return IsOpen(iNumber) && aEntries[iNumber].oOwner == oOwner ? aEntries[iNumber].oFile.get()
                                                                 : nullptr;
}

qint16 clsFileTable::FreeFile() const {
    for (qint16 iNumber = iFirstNumber; iNumber <= iLastNumber; ++iNumber) {
        if (!IsOpen(iNumber)) {
            return iNumber;
        }
    }
    throw Error(TooManyFiles);
}

void clsFileTable::Open(qint16 iNumber, const void* oOwner, const QString& sPath,
                        clsOpenFile::eMode iMode, qint32 lRecordLength) {
    if (!InRange(iNumber)) {
        throw Error(BadFileNameOrNumber);
    }
    if (IsOpen(iNumber)) {
        throw Error(FileAlreadyOpen);
    }
    aEntries[iNumber].oFile = std::make_unique<clsOpenFile>(sPath, iMode, lRecordLength);
    aEntries[iNumber].oOwner = oOwner;
}

bool clsFileTable::Close(qint16 iNumber, const void* oOwner) {
    if (!IsOpen(iNumber)) {
        return true;
    }
    if (aEntries[iNumber].oOwner != oOwner) {
        return false;
    }
    const bool bClosed = aEntries[iNumber].oFile->Close();
    aEntries[iNumber] = Entry{};
    return bClosed;
}

void clsFileTable::CloseAllOf(const void* oOwner) {
    for (qint16 iNumber = iFirstNumber; iNumber <= iLastNumber; ++iNumber) {
        Close(iNumber, oOwner);
    }
}

clsOpenFile& clsFileTable::OpenFile(qint16 iNumber) {
    if (!IsOpen(iNumber)) {
        throw Error(BadFileNameOrNumber);
    }
    return *aEntries[iNumber].oFile;
}

QString clsFileTable::LineInput(qint16 iNumber) {
    return OpenFile(iNumber).ReadLine();
}

bool clsFileTable::EndOfFile(qint16 iNumber) {
    return OpenFile(iNumber).AtEnd();
}
