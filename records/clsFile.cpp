#include "records/clsFile.h"

#include "core/clsError.h"
#include "records/clsFileTable.h"

#include <QFileInfo>

clsFile::~clsFile() {
    clsFileTable::Instance().CloseAllOf(this);
}

bool clsFile::CloseFile() {
    return clsFileTable::Instance().Close(iNumber, this);
}

qint16 clsFile::OpenUnderOwnNumber(const QString& sFileName, bool bOpenStoredPath,
                                   clsOpenFile::eMode iMode, qint32 lRecordLength) {
    auto& oTable = clsFileTable::Instance();
    try {
        if (iNumber == 0) {
            iNumber = oTable.FreeFile();
        }
        if (!sFileName.isEmpty()) {
            sPathName = sFileName;
        }
        oTable.Open(iNumber, this, bOpenStoredPath ? sPathName : sFileName, iMode, lRecordLength);
        sOpenFailure.clear();
        return iNumber;
    } catch (const clsError& oError) {
        sOpenFailure = oError.Why().isEmpty() ? oError.Description() : oError.Why();
        return 0;
    }
}

qint16 clsFile::OpenRandomRead(const QString& sFileName, qint32 lRecordLength) {
    // Opens the argument itself, even when it is empty and a path is stored.
    return OpenUnderOwnNumber(sFileName, false, clsOpenFile::eMode::RandomRead, lRecordLength);
}

qint16 clsFile::OpenInputRead(const QString& sFileName) {
    return OpenUnderOwnNumber(sFileName, true, clsOpenFile::eMode::InputRead, 0);
}

qint16 clsFile::OpenInputWrite(const QString& sFileName) {
    return OpenUnderOwnNumber(sFileName, true, clsOpenFile::eMode::AppendWrite, 0);
}

qint16 clsFile::OpenRandomWrite(const QString& sFileName, qint32 lRecordLength) {
    auto& oTable = clsFileTable::Instance();
    iNumber = oTable.FreeFile();
    oTable.Open(iNumber, this, sFileName, clsOpenFile::eMode::RandomWrite, lRecordLength);
    return iNumber;
}

QString clsFile::LineInput() {
    return clsFileTable::Instance().LineInput(iNumber);
}

bool clsFile::EndOfFile() {
    return clsFileTable::Instance().EndOfFile(iNumber);
}

clsOpenFile* clsFile::Opened() {
    return clsFileTable::Instance().File(iNumber, this);
}

bool clsFile::FileExists() const {
    return QFileInfo(sPathName).isFile();
}
