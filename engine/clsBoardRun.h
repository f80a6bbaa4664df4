#pragma once

#include "core/clsError.h"
#include "engine/clsPreparedUpload.h"
#include "engine/clsUploadSequence.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <optional>

class clsApplication;

// A production run on one port: the files are prepared once, then one
// board, or one board after another, each getting that image through the
// upload's sequence as one upload does. It counts the boards and decides
// how the run ends; whoever drives it hands in a stop asked for and the end
// of the technician's input, and shows what the signals tell.
class clsBoardRun : public QObject {
    Q_OBJECT

public:
    enum class ePolicy { OneBoard, Repeat };

    // What a run came to, for a face that tells it by a number.
    enum class eClass { Done, FilesFailed, BoardFailed, NoRecords, Declined, Stopped };

    // An upload of the run that ended; not every one had a board.
    struct BoardEnd {
        clsUploadSequence::eEnding iEnding = clsUploadSequence::eEnding::Complete;
        // The error box to show, if any.
        QString sBoxText;
        // A board answered: with its target byte, or the wrong one.
        bool bBoard = false;
        // The board took the whole image; one that was sent no record did
        // not.
        bool bGood = false;
        // The board's number in the run, from 1; 0 when there was none.
        qint32 lNumber = 0;
    };

    // How the run ended.
    struct RunEnd {
        eClass iClass = eClass::Done;
        qint32 lGood = 0;
        qint32 lFailed = 0;
        // No board answered within the wait.
        bool bWaitOver = false;
        // The Run for a further board failed.
        std::optional<clsError> oFailure;

        qint32 Boards() const { return lGood + lFailed; }
        // The boards that failed, and the line, where it failed between
        // boards after good ones, as one more: a run that failed never
        // counts none.
        qint32 FailedCounted() const {
            return lFailed + (iClass == eClass::BoardFailed && lFailed == 0 ? 1 : 0);
        }
    };

    // lWaitMs: how long a board's target byte is awaited; 0 for as long as
    // it takes.
    clsBoardRun(clsApplication& oNewApp, clsUploadSequence& oNewSequence, ePolicy iNewPolicy,
                qint32 lNewWaitMs);

    // The first board's Run, of the files at sPath or of oHanded in their
    // place; nothing once it waits for its board. Otherwise the failure:
    // the run is over, and RunEnded does not follow.
    std::optional<clsError> Start(const QString& sPath);
    std::optional<clsError> Start(const clsPreparedUpload& oHanded);
    // A stop was asked for. One board's upload stops; a repeat run ends at
    // once between boards, and after the board during one, unless a second
    // request half a second or more later abandons the board.
    void StopAsked();
    // The technician's input ended: the run ends after the board under way.
    void InputEnded();
    bool Ended() const { return oEnd.has_value(); }

    static eClass ClassOf(clsUploadSequence::eEnding iEnding);
    // For a failure of Run: preparing the files, or opening the port.
    static eClass ClassOf(const clsError& oFailure);

signals:
    void BoardEnded(const clsBoardRun::BoardEnd& oBoard);
    // The upload that just ended left the board holding part of the image:
    // after BoardEnded and the board's last lines, before the run ends.
    void BoardLeftIncomplete();
    // The run goes on until the board under way, number lNumber, ends;
    // bAgainAbandons: another stop request abandons it.
    void EndsAfterBoard(qint32 lNumber, bool bAgainAbandons);
    // No board answered within the wait; the upload waiting for one stops
    // next, and the run ends with bWaitOver.
    void WaitOver();
    void RunEnded(const clsBoardRun::RunEnd& oEnd);

private:
    std::optional<clsError> Begin(const std::optional<clsError>& oFailure);
    void OnEnded(clsUploadSequence::eEnding iEnding, const QString& sBoxText);
    void OnWaitOver();
    void NextBoard();
    // Arms the wait for the board's target byte, where there is one.
    void AwaitBoard();
    bool BoardUnderWay() const;
    bool BoardAnswered(clsUploadSequence::eEnding iEnding) const;
    // Stop, its ending not a board's.
    void StopQuietly();
    void StopAfterBoard(bool bAgainAbandons);
    // The run ends between boards; with iWithoutBoards when none came.
    void StopNow(eClass iWithoutBoards);
    void EndRun(eClass iClass);
    eClass Counted(eClass iWithoutBoards) const;

    clsApplication& oApp;
    clsUploadSequence& oSequence;
    ePolicy iPolicy;
    std::optional<clsPreparedUpload> oPrepared;
    // The port number at the start holds for every board.
    qint16 iPort = 0;
    // The application's state as the last upload ended.
    qint32 lEndState = 0;
    bool bEndIncomplete = false;
    QTimer oWait;
    // The port stays closed a moment between boards.
    QTimer oPause;
    RunEnd oCount;
    // The run ends with the board under way.
    bool bStopAsked = false;
    // Since the request after which the next abandons the board under way.
    QElapsedTimer oSinceArmed;
    bool bStoppingQuietly = false;
    std::optional<RunEnd> oEnd;
};
