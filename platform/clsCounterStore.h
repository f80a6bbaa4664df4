#pragma once

#include "core/clsError.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

// A counter of serial numbers in a small file that several programs share,
// on one machine or on a share: {"next": 103, "returned": [101]}. Each step
// reads the file, changes it and replaces it whole under a lock file beside
// it, so that no number goes out twice. A file that cannot be read stops
// every step, with error 2012: counting again from scratch would hand out
// numbers twice.
class clsCounterStore {
public:
    explicit clsCounterStore(QString sNewPath) : sPath(std::move(sNewPath)) {}

    const QString& Path() const { return sPath; }

    // Makes the file with its counter at lFirst, or moves the counter up to
    // lFirst; a counter past lFirst stays, since the numbers below it went
    // out. Returns where the counter stands.
    qint64 Start(qint64 lFirst);
    // The number Take would give, taking nothing. The file is written back
    // as it stands: one that a Take could not write fails here already.
    qint64 Peek(qint64 lLargest);
    // The lowest returned number, or else the counter's, which moves on.
    // Nothing is handed out when that number is past lLargest.
    qint64 Take(qint64 lLargest);
    // lNumber goes back, for the next Take.
    void Return(qint64 lNumber);

private:
    struct State {
        qint64 lNext = 0;
        // Ascending, each below lNext.
        QList<qint64> alReturned;
    };

    // Nothing when the file does not exist.
    std::optional<State> Read(const char* sMember) const;
    // oState, which a step other than Start cannot do without.
    State Existing(const char* sMember, const std::optional<State>& oState) const;
    void Write(const char* sMember, const State& oState) const;
    // Read, oChange and Write with the lock held; oChange gets nothing for
    // a file that does not exist.
    void Change(const char* sMember, const std::function<State(std::optional<State>)>& oChange);
    // The number due, taken when bTake.
    qint64 Hand(const char* sMember, qint64 lLargest, bool bTake);
    qint64 Due(const char* sMember, const State& oState, qint64 lLargest) const;
    clsError Failure(const char* sMember, const QString& sWhy) const;

    QString sPath;
};
