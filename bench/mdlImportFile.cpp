#include "mdlImportFile.h"

#include "clsFile.h"
#include "clsFileTable.h"

namespace mdlImportFile {

qint32 ImportFile(const QString& sPath, clsFlashImage& oImage) {
    clsFile oFile;
    const qint16 iNumber = oFile.OpenInputRead(sPath);
    if (iNumber == 0) {
        throw clsFileTable::Error(clsFileTable::eFileError::FileNotFound);
    }
    auto& oTable = clsFileTable::Instance();
    clsJRT_SRecord oRecord;
    qint32 lLines = 0;
    while (!oTable.EndOfFile(iNumber)) {
        oRecord.SetRecord(oTable.LineInput(iNumber));
        oImage.Import(oRecord);
        oRecord.Reset();
        ++lLines;
    }
    return lLines;
}

} // namespace mdlImportFile
