#include "engine/clsLedgerEntry.h"
#include "tests/support/mdlRows.h"

#include <QJsonDocument>
#include <QTimeZone>

// A ledger line read back by the keys it was written with.
namespace {

using E = clsUploadSequence::eEnding;

clsLedgerEntry Upload(qint16 iPort, const QString& sDevice, E iEnding, quint8 yTarget,
                      bool bSerialUsed) {
    clsLedgerEntry oEntry;
    oEntry.oStart = QDateTime(QDate(2024, 5, 2), QTime(7, 0), QTimeZone(7200));
    oEntry.oEnd = oEntry.oStart.addMSecs(31'250);
    oEntry.iPort = iPort;
    oEntry.sDevice = sDevice;
    oEntry.oFiles.sFile = QStringLiteral("/u/unit.s37");
    oEntry.oOutcome.oEnding = iEnding;
    oEntry.oOutcome.lRecords = 6520;
    oEntry.oOutcome.yTargetID = yTarget;
    oEntry.oOutcome.lCode = iEnding == E::Complete ? 0 : 2006;
    oEntry.oOutcome.oSerial =
        clsSerialNumbering::Use{clsSerialField(0x7000, 4), {}, 1007, bSerialUsed, true, {}};
    return oEntry;
}

struct ReadRow {
    const char* sName;
    QByteArray aLine;
    QString sRead; // as Facts gives it
};

QString Facts(const clsLedgerEntry::Recorded& o) {
    const auto Number = [](std::optional<qint64> oValue) {
        return oValue ? QString::number(*oValue) : QStringLiteral("none");
    };
    QString sSerial = QStringLiteral("none");
    if (o.oSerial) {
        sSerial = Number(o.oSerial->lNumber) + (o.oSerial->bUsed ? " used" : "") +
                  (o.oSerial->bReturned ? " returned" : "");
    }
    return QStringList{o.oStart.toUTC().toString(Qt::ISODateWithMs),
                       Number(o.lPort),
                       o.sDevice.value_or("none"),
                       o.sFile,
                       Number(o.lTarget),
                       Number(o.lRecords),
                       o.sResult.value_or("none"),
                       Number(o.lCode),
                       QString::number(o.dDuration),
                       sSerial}
        .join(" | ");
}

// clang-format off
const ReadRow aRows[] = {
    {"as written: port and device, serial used",
     Upload(3, "/dev/ttyUSB1", E::Complete, 22, true).Line(),
     "2024-05-02T05:00:00.000Z | 3 | /dev/ttyUSB1 | /u/unit.s37 | 22 | 6520 | complete | none | "
     "31.25 | 1007 used returned"},
    {"as written: device alone, no target, serial not used",
     Upload(0, "", E::BoardFailed, 0, false).Line(),
     "2024-05-02T05:00:00.000Z | none | none | /u/unit.s37 | none | 6520 | board failed | 2006 | "
     "31.25 | 1007 returned"},
};
// clang-format on

} // namespace

class tst_clsLedgerEntry : public QObject {
    Q_OBJECT

private slots:
    void readsWhatItWrites_data() { mdlRows::Add(aRows); }

    void readsWhatItWrites() {
        QFETCH(ReadRow, oRow);
        QCOMPARE(Facts(clsLedgerEntry::Read(QJsonDocument::fromJson(oRow.aLine).object())),
                 oRow.sRead);
    }
};

QTEST_GUILESS_MAIN(tst_clsLedgerEntry)
#include "tst_clsLedgerEntry.moc"
