#include "records/clsFlashImage.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// Every line of the input goes the way of an application file: parsed,
// formatted again and imported into a small image with a protected range.
// A failure must be one of ours, and a data-carrying line that parsed must
// format back to itself (upper-cased), or the codec has lost or invented
// something. Types 5, 7, 8 and 9 may not: bytes after their address field
// are not read.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* aData, std::size_t lSize) {
    clsFlashImage oImage;
    oImage.Create(18);
    oImage.Restrict(0x100, 0x1FF);
    oImage.Clear(0xFF);
    const QString sText =
        QString::fromLatin1(reinterpret_cast<const char*>(aData), static_cast<qsizetype>(lSize));
    clsJRT_SRecord oRecord;
    for (const QString& sLine : sText.split(u'\n')) {
        try {
            QString sArgument = sLine;
            oRecord.DataByteCount(sArgument);
            oRecord.CalcCheckSum(sArgument);
        } catch (const clsError&) {
        }
        try {
            oRecord.SetRecord(sLine);
            const qint16 iType = oRecord.RecType();
            const bool bCarriesData = iType <= 3 || iType == 6;
            if (oRecord.Record() != sLine.toUpper() && bCarriesData) {
                std::abort();
            }
            oImage.Import(oRecord);
        } catch (const clsError&) {
        }
        oRecord.Reset();
    }
    return 0;
}
