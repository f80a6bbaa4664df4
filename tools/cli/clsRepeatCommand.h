#pragma once

#include "engine/clsPreparedUpload.h"
#include "tools/cli/clsTerminalEnd.h"
#include "tools/cli/clsUploadCommand.h"

#include <QElapsedTimer>
#include <QTimer>

#include <optional>

// Uploads to a line of boards, one after the other on one port: the files
// are prepared once, and every board gets that image, each through the
// upload's sequence as one upload is. The overwrite warning is asked once,
// before the first board. The run ends between boards: on Ctrl+C, SIGTERM
// or SIGHUP, at the end of a terminal's input, or when no board comes within
// --wait; asked for during a board, the end waits for the board's, and a
// second Ctrl+C, half a second or more later, abandons the board.
class clsRepeatCommand : public clsUploadCommand {
    Q_OBJECT

public:
    clsRepeatCommand(clsConsole& oNewConsole, const Options& oOptions);

    int Exec() override;

private:
    void OnEnded(clsUploadSequence::eEnding iEnding, const QString& sBoxText) override;
    void OnTargetWaitOver() override;
    void OnStopSignal() override;
    void OnInputEnded();

    // The SHA-256 of the two files the image was prepared from, as they
    // were opened.
    void ShowFiles();
    // The board that just ended, counted, and its line in the log.
    void Count(bool bGood);
    void NextBoard();
    qint32 Boards() const { return lGood + lFailed; }
    bool BoardUnderWay();
    // Stop, its ending not a board's.
    void StopQuietly();
    void StopAfterBoard(const QString& sNote);
    // The run ends between boards; with iWithoutBoards when none came.
    void StopNow(int iWithoutBoards);
    // The exit status of a run that ended between boards.
    int Counted(int iWithoutBoards) const;
    void EndRun(int iStatus);

    std::optional<clsPreparedUpload> oPrepared;
    std::optional<clsTerminalEnd> oInputEnd;
    // The port stays closed a moment between boards.
    QTimer oPause;
    qint32 lGood = 0;
    qint32 lFailed = 0;
    // The run ends with the board under way.
    bool bStopAsked = false;
    // Since the Ctrl+C after which the next abandons the board under way.
    QElapsedTimer oSinceArmed;
    bool bStoppingQuietly = false;
};
