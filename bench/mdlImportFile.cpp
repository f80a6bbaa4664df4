#include "bench/mdlImportFile.h"

#include "records/clsFile.h"
#include "records/mdlFileErrors.h"

namespace mdlImportFile {

qint32 ImportFile(const QString& sPath, clsFlashImage& oImage) {
    clsFile oFile;
    if (oFile.OpenInputRead(sPath) == 0) {
        throw mdlFileErrors::Make(mdlFileErrors::FileNotFound);
    }
    clsJRT_SRecord oRecord;
    qint32 lLines = 0;
    while (!oFile.EndOfFile()) {
        oRecord.SetRecord(oFile.LineInput());
        oImage.Import(oRecord);
        oRecord.Reset();
        ++lLines;
    }
    return lLines;
}

} // namespace mdlImportFile
