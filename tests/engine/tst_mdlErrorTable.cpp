#include "engine/clsBoardRun.h"
#include "engine/mdlEngineErrors.h"
#include "engine/mdlErrorTable.h"
#include "platform/clsCounterStore.h"
#include "platform/clsSerialControl.h"
#include "records/clsJRT_SRecord.h"
#include "tests/support/mdlRows.h"
#include "tools/cli/mdlErrorText.h"
#include "tools/cli/mdlExitStatus.h"

#include <QTemporaryDir>

namespace {

using eClass = mdlErrorTable::eClass;
using mdlEngineErrors::Make;
using Raise = clsError (*)();

clsError Caught(const std::function<void()>& oCall) {
    try {
        oCall();
    } catch (const clsError& oError) {
        return oError;
    }
    return clsError(0, {}, {});
}

clsError NotAnSRecord() {
    return Caught([] { clsJRT_SRecord().SetRecord(QStringLiteral("XX")); });
}

clsError NoCounterFile() {
    static const QTemporaryDir oDir;
    return Caught([] { clsCounterStore(oDir.filePath(QStringLiteral("none.json"))).Peek(255); });
}

// What the control answers, as mdlComms raises it.
clsError ControlFailure(const clsSerialControl::Failure& oFailure) {
    return clsError(oFailure.lNumber, QStringLiteral("EstablishCom <sub> --- mdlComms"),
                    oFailure.sDescription);
}

clsError PortBoundToNothing() {
    clsSerialControl oPort([](qint16) { return QString(); });
    return ControlFailure(oPort.SetPortOpen(true));
}

clsError SentToClosedPort() {
    clsSerialControl oPort([](qint16) { return QString(); });
    return ControlFailure(oPort.Output(QByteArray("x")));
}

struct RunRow {
    const char* sName;
    Raise oRaise;
    mdlExitStatus::eStatus iExit;
    bool bForeseen;
};

struct DialogueRow {
    const char* sName;
    Raise oRaise;
    // Nothing for an error the dialogue drops.
    std::optional<eClass> oClass;
};

// clang-format off
const RunRow aRunFailures[] = {
    {"files: no target ID", [] { return Make(mdlEngineErrors::NoTargetID); }, mdlExitStatus::FilesFailed, true},
    {"files: a line that is not an S-record", NotAnSRecord, mdlExitStatus::FilesFailed, true},
    {"files: no counter file", NoCounterFile, mdlExitStatus::FilesFailed, true},
    {"board: no contact", [] { return Make(mdlEngineErrors::CommsFailed); }, mdlExitStatus::BoardFailed, true},
    {"link: a port bound to no device", PortBoundToNothing, mdlExitStatus::BoardFailed, true},
    {"unforeseen: a codec error of the number alone",
     [] { return clsError::FromCode(clsJRT_SRecord::DataNotSet); }, mdlExitStatus::FilesFailed, false},
};

const DialogueRow aDialogueFailures[] = {
    {"board: wrong target", [] { return Make(mdlEngineErrors::WrongTarget); }, eClass::Board},
    {"board: no serial number for the board", NoCounterFile, eClass::Board},
    {"declined: the warning answered Cancel", [] { return Make(mdlEngineErrors::UploadCancelled); },
     eClass::Declined},
    {"link: sent to a closed port", SentToClosedPort, eClass::Link},
    {"dropped: a codec error", NotAnSRecord, std::nullopt},
};
// clang-format on

} // namespace

class tst_mdlErrorTable : public QObject {
    Q_OBJECT

private slots:
    void runFailure_data() { mdlRows::Add(aRunFailures); }

    // The window's box, its help, the last status line, the exit status and
    // the terminal's text tell the same of a failed Run.
    void runFailure() {
        QFETCH(RunRow, oRow);
        const clsError oError = oRow.oRaise();
        const mdlErrorTable::Report oReport = mdlErrorTable::OfRun(oError);
        QCOMPARE(mdlExitStatus::Of(clsBoardRun::ClassOf(oError)), oRow.iExit);
        QCOMPARE(oReport.bForeseen, oRow.bForeseen);
        QCOMPARE(oReport.iTopic != mdlErrorTable::iNoHelp, oRow.bForeseen);
        QCOMPARE(oReport.asLines.contains(oReport.sWords), oRow.bForeseen);
        const QString sBox = mdlErrorTable::BoxText(oError.Code(), oReport.asLines);
        const QString sShown = mdlErrorText::ForTerminal(oError);
        QVERIFY2(sShown.startsWith(sBox + '\n'), qPrintable(sShown));
        // Only what the box does not foresee is told by its source.
        QCOMPARE(sShown.contains(oError.Source()), !oRow.bForeseen);
    }

    void dialogueFailure_data() { mdlRows::Add(aDialogueFailures); }

    // A failure that ends the upload under way: a failed board's box has
    // Help and its words are the ledger's; a declined upload has no box.
    void dialogueFailure() {
        QFETCH(DialogueRow, oRow);
        const std::optional<mdlErrorTable::Report> oReport =
            mdlErrorTable::OfDialogue(oRow.oRaise());
        QCOMPARE(oReport.has_value(), oRow.oClass.has_value());
        if (!oReport) {
            return;
        }
        QCOMPARE(oReport->iClass, *oRow.oClass);
        QCOMPARE(oReport->iTopic != mdlErrorTable::iNoHelp, oRow.oClass == eClass::Board);
        QCOMPARE(oReport->asLines.isEmpty(), oRow.oClass == eClass::Declined);
        QVERIFY(oReport->asLines.isEmpty() || oReport->asLines == QStringList{oReport->sWords});
    }

    // Every code of the upload means something where it is raised.
    void everyUploadCode() {
        for (qint32 lCode = mdlErrorCodes::OpenAppFileFailed;
             lCode <= mdlErrorCodes::CounterUnusable; ++lCode) {
            const clsError oError = Make(lCode);
            QVERIFY2(mdlErrorTable::OfRun(oError).bForeseen || mdlErrorTable::OfDialogue(oError),
                     qPrintable(QString::number(lCode)));
        }
    }
};

QTEST_GUILESS_MAIN(tst_mdlErrorTable)
#include "tst_mdlErrorTable.moc"
