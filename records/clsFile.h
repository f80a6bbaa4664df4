#pragma once

#include "records/clsOpenFile.h"

#include <QString>

// One file of the program's numbered file table: its path, its number, the
// four ways of opening it and the reading of a text file opened for input.
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

    // False when the file open under the number could not be closed cleanly,
    // or when the number now belongs to another object's file.
    bool CloseFile();
    // Each returns the file number, or 0 when the file cannot be opened.
    qint16 OpenRandomRead(const QString& sFileName, qint32 lRecordLength);
    qint16 OpenInputRead(const QString& sFileName = {});
    qint16 OpenInputWrite(const QString& sFileName = {});
    // Takes a fresh number every time; a failure is raised, not returned.
    qint16 OpenRandomWrite(const QString& sFileName, qint32 lRecordLength);

    bool FileExists() const;
    // Why the last open failed, for a person to read; empty when it did not.
    const QString& OpenFailure() const { return sOpenFailure; }

    // The next line of the text file open under the number, without its
    // line end; an error past its end or when nothing is open.
    QString LineInput();
    bool EndOfFile();
    // Its file open under the number; nullptr when none is.
    clsOpenFile* Opened();

private:
    qint16 OpenUnderOwnNumber(const QString& sFileName, bool bOpenStoredPath,
                              clsOpenFile::eMode iMode, qint32 lRecordLength);

    qint16 iNumber = 0;
    QString sPathName;
    QString sOpenFailure;
};
