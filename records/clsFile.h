#pragma once

#include "clsOpenFile.h"

#include <QString>

// One file of the program's numbered file table: its path, its number and
// the four ways of opening it. Callers read an open text file through
// clsFileTable with the number.
class clsFile {
public:
    clsFile() = default;
    ~clsFile();
    clsFile(const clsFile&) = delete;
    clsFile& operator=(const clsFile&) = delete;

    qint16 Number() const { return iNumber; }
    void SetNumber(qint16 iNewNum) { iNumber = iNewNum; }
    const QString& PathName() const { return sPathName; }
    void SetPathName(const QString& sNewPathName) { sPathName = sNewPathName; }

    // False when the file open under the number could not be closed cleanly.
    bool CloseFile();
    // Each returns the file number, or 0 when the file cannot be opened.
    qint16 OpenRandomRead(const QString& sFileName, qint32 lRecordLength);
    qint16 OpenInputRead(const QString& sFileName = {});
    qint16 OpenInputWrite(const QString& sFileName = {});
    // Takes a fresh number every time; a failure is raised, not returned.
    qint16 OpenRandomWrite(const QString& sFileName, qint32 lRecordLength);

    bool FileExists() const;

private:
    qint16 OpenUnderOwnNumber(const QString& sFileName, bool bOpenStoredPath,
                              clsOpenFile::eMode iMode, qint32 lRecordLength);

    qint16 iNumber = 0;
    QString sPathName;
};
