#pragma once

#include "core/clsError.h"
#include "engine/clsSerialNumbering.h"
#include "engine/mdlErrorTable.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class clsApplication;
struct clsPreparedUpload;

// An upload from the Run command to its end, as the window's commands
// drive it: the window adds only its widgets, the headless command only its
// output. It hands the serial control's events to the board dialogue and
// ends the upload on Stop, on the reply time-out and on every failure,
// with the status lines and resets of the window's commands.
class clsUploadSequence : public QObject {
    Q_OBJECT

public:
    // How an upload ended.
    enum class eEnding {
        Complete,
        NoRecords,
        Stopped,
        Declined,
        TimedOut,
        // The wrong board, too many resends or a flash failure (2005 to
        // 2007), or no serial number for the board (2012).
        BoardFailed,
        LinkFailed,
        // The dialogue closed the port on a reply it does not know; the
        // upload stands, state and all, until Stop.
        UnknownReply,
    };

    // What an upload came to, taken before the resets clear it.
    struct Outcome {
        // Nothing when Run failed.
        std::optional<eEnding> oEnding;
        qint32 lState = 0;
        qint32 lRecords = 0;
        // 0 until the command file named the target.
        quint8 yTargetID = 0;
        // The image's checksum, once the image was built.
        std::optional<qint32> oImageCheckSum;
        // The error that ended the upload; 0 for none.
        qint32 lCode = 0;
        // The status line that tells how it ended.
        QString sWords;
        // What became of the board's serial number, if it took one.
        std::optional<clsSerialNumbering::Use> oSerial;

        // The upload ended while the board's flash was being written: the
        // board holds part of the image.
        bool LeftIncomplete() const;
        // What every face tells of such a board.
        static QString IncompleteWarning();
    };

    explicit clsUploadSequence(clsApplication& oNewApp);

    // Run, once the controls are locked and the log is empty: prepares
    // sPath, opens the port and waits for the board's first byte. A failure
    // is reported in the log, both resets done, and returned for the box;
    // Reset is offered once the box is closed.
    std::optional<clsError> Run(const QString& sPath);
    // Run for a further board, after the application object's Reset:
    // oPrepared stands in for the files, which are not read again.
    std::optional<clsError> Run(const clsPreparedUpload& oPrepared);
    void Stop();
    // The reply timer ran out.
    void ReplyTimedOut();

signals:
    // Run began, before anything was prepared.
    void Started(const QString& sPath);
    // The application file sPath named and its command file are open.
    void FilesOpened();
    // Preparation read both files to their ends.
    void FilesRead();
    // A Run for a further board took the image prepared before, in place of
    // the files.
    void PreparedUsed();
    // The overwrite was confirmed: the board's flash is written from now on.
    void WritingBegan();
    // The upload is over, as oOutcome tells: just before Ended, or before
    // a failed Run returns.
    void Finished(const clsUploadSequence::Outcome& oOutcome);
    // The upload is over: the board's dialogue ended it, or Stop, the
    // time-out or a failure, as iEnding tells; sBoxText is the error box to
    // show, if any, with its help topic.
    void Ended(clsUploadSequence::eEnding iEnding, const QString& sBoxText, int iHelpTopic);

private:
    // Run of sPath with oPrepare as the step that gives the application
    // object its image.
    std::optional<clsError> Begin(const QString& sPath, const std::function<void()>& oPrepare);
    void HandOverEvent();
    // How the event just handed over ended the upload, if it did.
    std::optional<eEnding> DialogueEnding();
    void StopAs(eEnding iEnding);
    Outcome OutcomeNow(std::optional<eEnding> oEnding, qint32 lCode, const QString& sWords) const;
    // Ends the upload, with oReport's box where it has one.
    void Finish(const Outcome& oOutcome,
                const std::optional<mdlErrorTable::Report>& oReport = std::nullopt);
    void EndWithError(const clsError& oError);
    void EndOnLinkFailure(qint32 lNumber, const QString& sDescription);
    void ResetBoth();
    void ClosingLines();

    clsApplication& oApp;
    // The image stands built, from the end of preparation to the end of
    // the upload.
    bool bPrepared = false;
};
