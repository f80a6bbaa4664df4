#pragma once

#include "engine/clsLedgerEntry.h"
#include "engine/clsUploadSequence.h"

#include <QObject>

#include <optional>

class clsApplication;

// The ledger of uploads: a line of JSON for every upload the sequence runs,
// added to the file as the upload ends, before anyone is told of the end.
// A ledger that cannot be written costs the upload nothing: it says so
// once, and the uploads go on. Each program keeps one.
class clsUploadLedger : public QObject {
    Q_OBJECT

public:
    clsUploadLedger(clsApplication& oNewApp, clsUploadSequence& oSequence);

    // The files as another program opened them, for the boards that get the
    // image it made of them.
    void TakeOpened(const clsOpenedFiles& oFiles) { oLastOpened = oFiles; }
    // The files as they were when last opened, or taken; nothing before.
    const std::optional<clsOpenedFiles>& LastOpened() const { return oLastOpened; }

signals:
    // The first line that could not be written, told for the technician.
    void Unwritable(const QString& sNotice);

private:
    void OnStarted(const QString& sPath);
    void OnFilesOpened();
    void OnFilesRead();
    // The image made from the files last opened goes onto another board.
    void OnPreparedUsed();
    void OnFinished(const clsUploadSequence::Outcome& oOutcome);

    clsApplication& oApp;
    // The upload under way.
    std::optional<clsLedgerEntry> oEntry;
    // The files as they were when last opened, for the boards that get the
    // image made from them.
    std::optional<clsOpenedFiles> oLastOpened;
    bool bToldUnwritable = false;
};
