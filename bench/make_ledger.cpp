#include "engine/clsLedgerEntry.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTimeZone>

#include <cstdio>

namespace {

// The nth upload of a day's work on a line of boards: mostly complete,
// some failed, every other one with a serial number.
clsLedgerEntry Upload(qint64 lNth) {
    using E = clsUploadSequence::eEnding;
    static const E aEndings[] = {E::Complete, E::Complete, E::Complete,   E::TimedOut,
                                 E::Stopped,  E::Complete, E::BoardFailed};
    const E iEnding = aEndings[lNth % std::size(aEndings)];
    const QDateTime oStart =
        QDateTime(QDate(2024, 5, 2), QTime(7, 0), QTimeZone(7200)).addSecs(lNth * 40);
    const QString sHash = QString::fromLatin1(
        QCryptographicHash::hash(QByteArray::number(lNth), QCryptographicHash::Sha256).toHex());
    clsLedgerEntry oEntry;
    oEntry.oStart = oStart;
    oEntry.oEnd = oStart.addMSecs(31'250 + lNth % 997);
    oEntry.sHost = QStringLiteral("bench-7");
    oEntry.sUser = QStringLiteral("technician");
    oEntry.iPort = qint16(1 + lNth % 4);
    oEntry.sDevice = QStringLiteral("/dev/ttyUSB%1").arg(lNth % 4);
    oEntry.oFiles = {QStringLiteral("/home/technician/releases/controller-2.%1.s37").arg(lNth % 9),
                     412'390, sHash, sHash.left(32) + sHash.right(32)};
    oEntry.oOutcome.oEnding = iEnding;
    oEntry.oOutcome.lState = iEnding == E::Complete ? 4 : 3;
    oEntry.oOutcome.lRecords = iEnding == E::Complete ? 6520 : qint32(lNth % 6520);
    oEntry.oOutcome.yTargetID = 21;
    oEntry.oOutcome.oImageCheckSum = qint32(lNth % 256);
    oEntry.oOutcome.lCode = iEnding == E::Complete ? 0 : 2004;
    oEntry.oOutcome.sWords = iEnding == E::Complete ? QStringLiteral("Upload Complete")
                                                    : QStringLiteral("No response from board.");
    if (lNth % 2 == 0) {
        oEntry.oOutcome.oSerial =
            clsSerialNumbering::Use{clsSerialField(0x7000, 4),
                                    QStringLiteral("/home/technician/.local/share/serials.json"),
                                    100'000 + lNth,
                                    iEnding == E::Complete,
                                    iEnding != E::Complete,
                                    {}};
    }
    return oEntry;
}

} // namespace

// Usage: make_ledger FILE LINES; writes a ledger of LINES uploads as the
// programs record them.
int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fputs("usage: make_ledger FILE LINES\n", stderr);
        return 2;
    }
    QFile oFile(QString::fromLocal8Bit(argv[1]));
    const qint64 lLines = QByteArray(argv[2]).toLongLong();
    if (!oFile.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "make_ledger: %s\n", qPrintable(oFile.errorString()));
        return 1;
    }
    for (qint64 lNth = 0; lNth < lLines; ++lNth) {
        oFile.write(Upload(lNth).Line());
    }
    return oFile.flush() ? 0 : 1;
}
