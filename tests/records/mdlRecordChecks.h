#pragma once

#include "clsError.h"
#include "clsFlashImage.h"
#include "clsJRT_SRecord.h"
#include "mdlTestFiles.h"

#include <QRegularExpression>
#include <QTest>

#include <functional>
#include <tuple>

// Shared by the record tests: what a call raised, lines with a checksum
// worked out apart from the codec, an image's bytes, and tables of rows.
namespace mdlRecordChecks {

// "code source: description" of what oCall raised; empty when it raised nothing.
inline QString Raised(const std::function<void()>& oCall) {
    try {
        oCall();
    } catch (const clsError& oError) {
        return QString::number(oError.Code()) + " " + oError.Source() + ": " + oError.Description();
    }
    return {};
}

// Expected errors are written "code .Member: description" or, when only the
// number and source matter, "code .Member"; the dot stands for the class.
inline bool Matches(const QString& sRaised, QString sExpected, const char* sClass) {
    const bool bShort = QRegularExpression(R"(^\d+ \.\w+$)").match(sExpected).hasMatch();
    sExpected.replace(" .", QStringLiteral(" %1.").arg(sClass));
    return bShort ? sRaised.startsWith(sExpected + ':') : sRaised == sExpected;
}

using mdlTestFiles::WithCheckSum;

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

// One data row per tuple, tagged with its number in the table.
template <typename Row, std::size_t N> void AddRows(const Row (&aRows)[N]) {
    QTest::addColumn<Row>("oRow");
    for (std::size_t i = 0; i < N; ++i) {
        QTest::addRow("row %d", int(i)) << aRows[i];
    }
}

} // namespace mdlRecordChecks
