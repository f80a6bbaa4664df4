#pragma once

#include "records/clsFlashImage.h"
#include "records/clsJRT_SRecord.h"
#include "tests/support/mdlRaised.h"
#include "tests/support/mdlTestFiles.h"

#include <QRegularExpression>

// Shared by the record tests: expected errors in short form, lines with a
// checksum worked out apart from the codec, and an image's bytes.
namespace mdlRecordChecks {

using mdlRaised::Text;
using mdlTestFiles::WithCheckSum;

// Expected errors are written "code .Member: description" or, when only the
// number and source matter, "code .Member"; the dot stands for sClass.
inline bool Matches(const QString& sRaised, QString sExpected, const char* sClass) {
    const bool bShort = QRegularExpression(R"(^\d+ \.\w+$)").match(sExpected).hasMatch();
    sExpected.replace(" .", QStringLiteral(" %1.").arg(sClass));
    return bShort ? sRaised.startsWith(sExpected + ':') : sRaised == sExpected;
}

// iCount bytes counting up from iFirst, in hex.
inline QString Hex(int iCount, int iFirst = 0) {
    QString sHex;
    for (int i = 0; i < iCount; ++i) {
        sHex += QString::asprintf("%02X", (iFirst + i) % 256);
    }
    return sHex;
}

inline clsJRT_SRecord Parsed(const QString& sLine) {
    clsJRT_SRecord oRecord;
    oRecord.SetRecord(sLine);
    return oRecord;
}

// Every cell's value, from address 0 to the top.
inline QByteArray Bytes(const clsFlashImage& oImage) {
    QByteArray aBytes;
    for (qint32 lCell = 0; lCell <= oImage.Top(); ++lCell) {
        aBytes += char(oImage.Data(lCell));
    }
    return aBytes;
}

} // namespace mdlRecordChecks
