#include "records/clsFileTable.h"

#include "records/mdlFileErrors.h"

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
    throw mdlFileErrors::Make(mdlFileErrors::TooManyFiles);
}

void clsFileTable::Open(qint16 iNumber, const void* oOwner, const QString& sPath,
                        clsOpenFile::eMode iMode, qint32 lRecordLength) {
    if (!InRange(iNumber)) {
        throw mdlFileErrors::Make(mdlFileErrors::BadFileNameOrNumber);
    }
    if (IsOpen(iNumber)) {
        throw mdlFileErrors::Make(mdlFileErrors::FileAlreadyOpen);
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
        throw mdlFileErrors::Make(mdlFileErrors::BadFileNameOrNumber);
    }
    return *aEntries[iNumber].oFile;
}

QString clsFileTable::LineInput(qint16 iNumber) {
    return OpenFile(iNumber).ReadLine();
}

bool clsFileTable::EndOfFile(qint16 iNumber) {
    return OpenFile(iNumber).AtEnd();
}
