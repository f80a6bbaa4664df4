#include "records/clsBoardTarget.h"
#include "tests/support/mdlRows.h"

namespace {

struct TargetRow {
    const char* sName;
    QList<int> aiTargetIDs;
    clsBoardTarget oFacts;
    qint16 iOverhead;
};

QList<int> OtherIDs() {
    QList<int> aiOthers;
    for (int iID = 0; iID < 256; ++iID) {
        if (iID < 18 || iID == 23 || iID > 24) {
            aiOthers << iID;
        }
    }
    return aiOthers;
}

// clang-format off
const TargetRow aTargets[] = {
    {"18", {18}, {0x7FFF, 1, 8, 19200, false, "", false}, 3},
    {"19", {19}, {0x7FFFF, 3, 64, 57600, false, "", false}, 5},
    {"20", {20}, {0x7FFFF, 3, 64, 57600, false, "", false}, 5},
    {"21", {21}, {0x40FFFF, 3, 64, 57600, false, "S70500001F4794", false}, 5},
    {"22", {22}, {0xFFFF, 1, 8, 19200, true, "S9030000FC", true}, 3},
    {"24", {24}, {0xFFFF, 1, 8, 19200, true, "S9030000FC", true}, 3},
    {"any other id", OtherIDs(), {0, 3, 64, 57600, false, "", false}, 5},
};
// clang-format on

} // namespace

class tst_clsBoardTarget : public QObject {
    Q_OBJECT

private slots:
    void factsOfEachTarget_data() { mdlRows::Add(aTargets); }

    void factsOfEachTarget() {
        QFETCH(TargetRow, oRow);
        const clsBoardTarget& oWanted = oRow.oFacts;
        for (const int iID : oRow.aiTargetIDs) {
            const clsBoardTarget& oGot = clsBoardTarget::For(quint8(iID));
            QVERIFY2(oGot.lTop == oWanted.lTop && oGot.HasImage() == (oWanted.lTop > 0) &&
                         oGot.iRecType == oWanted.iRecType && oGot.iMaxData == oWanted.iMaxData &&
                         oGot.ByteCountOverhead() == oRow.iOverhead &&
                         oGot.lBaudRate == oWanted.lBaudRate &&
                         oGot.bIncrementID == oWanted.bIncrementID &&
                         QLatin1String(oGot.sTerminateRecord) == oWanted.sTerminateRecord &&
                         oGot.bZeroAfterTerminate == oWanted.bZeroAfterTerminate,
                     qPrintable(QString::number(iID)));
        }
    }
};

QTEST_GUILESS_MAIN(tst_clsBoardTarget)
#include "tst_clsBoardTarget.moc"
