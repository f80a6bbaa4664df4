#include "records/clsBoardTarget.h"
#include "tests/support/mdlRows.h"

namespace {

struct TargetRow {
    const char* sName;
    QList<int> aiTargetIDs;
    QString sFacts;
};

// The facts as Facts writes them.
// clang-format off
const TargetRow aTargets[] = {
    {"18", {18}, "image 7fff, S1 of 8 + 3, 19200 baud, id, '', 0"},
    {"19", {19}, "image 7ffff, S3 of 64 + 5, 57600 baud, id, '', 0"},
    {"20", {20}, "image 7ffff, S3 of 64 + 5, 57600 baud, id, '', 0"},
    {"21", {21}, "image 40ffff, S3 of 64 + 5, 57600 baud, id, 'S70500001F4794', 0"},
    {"22", {22}, "image ffff, S1 of 8 + 3, 19200 baud, id + 1, 'S9030000FC', 1"},
    {"24", {24}, "image ffff, S1 of 8 + 3, 19200 baud, id + 1, 'S9030000FC', 1"},
    {"any other id", {0, 17, 23, 25, 255}, "no image 0, S3 of 64 + 5, 57600 baud, id, '', 0"},
};
// clang-format on

QString Facts(const clsBoardTarget& o) {
    return QString::asprintf("%s %x, S%d of %d + %d, %d baud, %s, '%s', %d",
                             o.HasImage() ? "image" : "no image", o.lTop, o.iRecType, o.iMaxData,
                             o.ByteCountOverhead(), o.lBaudRate, o.bIncrementID ? "id + 1" : "id",
                             o.sTerminateRecord, o.bZeroAfterTerminate);
}

} // namespace

class tst_clsBoardTarget : public QObject {
    Q_OBJECT

private slots:
    void factsOfEachTarget_data() { mdlRows::Add(aTargets); }

    void factsOfEachTarget() {
        QFETCH(TargetRow, oRow);
        for (const int iID : oRow.aiTargetIDs) {
            QCOMPARE(Facts(clsBoardTarget::For(quint8(iID))), oRow.sFacts);
        }
    }
};

QTEST_GUILESS_MAIN(tst_clsBoardTarget)
#include "tst_clsBoardTarget.moc"
