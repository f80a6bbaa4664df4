#pragma once

#include "records/clsOpenFile.h"

#include <QString>

#include <array>
#include <memory>

// The program's table of open files. A file is opened under a small number
// by its owner (a clsFile) and read through that number by anyone; only the
// owner can close it.
class clsFileTable {
public:
    static constexpr qint16 iFirstNumber = 1;
    static constexpr qint16 iLastNumber = 511;

    static clsFileTable& Instance();

    // The lowest number under which no file is open.
    qint16 FreeFile() const;
    void Open(qint16 iNumber, const void* oOwner, const QString& sPath, clsOpenFile::eMode iMode,
              qint32 lRecordLength = 0);
    // Closes oOwner's file under iNumber. False when it could not be closed
    // cleanly, or when another owner's file is open under the number.
    bool Close(qint16 iNumber, const void* oOwner);
    void CloseAllOf(const void* oOwner);
    bool IsOpen(qint16 iNumber) const;
    // oOwner's file under iNumber; nullptr when it has none open there.
    clsOpenFile* File(qint16 iNumber, const void* oOwner);

    QString LineInput(qint16 iNumber);
    bool EndOfFile(qint16 iNumber);

private:
    clsFileTable() = default;

    struct Entry {
        const void* oOwner = nullptr;
        std::unique_ptr<clsOpenFile> oFile;
    };
    clsOpenFile& OpenFile(qint16 iNumber);
    static bool InRange(qint16 iNumber);

    std::array<Entry, iLastNumber + 1> aEntries;
};
