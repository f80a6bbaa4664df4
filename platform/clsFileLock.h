#pragma once

#include <QLockFile>
#include <QString>

// The lock that programs sharing a file take in turn to change it, on this
// machine or on others through a share: a lock file beside the file (beside
// the file a symbolic link leads to, where the writes land), in the form
// QLockFile gives it, so that copies of the program from before this class
// keep out as well. One policy for a holder that went away: one on this
// machine that died is taken over at once; a lock file still empty, left by
// a program killed as it took the lock, after lEmptyStaleMs; any other, such
// as one of a program on another machine, once it is lLongestHoldMs old. A
// live holder is waited for, up to the caller's wait.
class clsFileLock {
public:
    // A live taker fills its lock file within microseconds.
    static constexpr int lEmptyStaleMs = 1000;
    // Whether a program on another machine lives cannot be asked. One may
    // take seconds to write and sync a file on a slow share: taking its lock
    // sooner would let two programs write.
    static constexpr int lLongestHoldMs = 30000;

    // The lock for sFile, whose lock file is sFile's name with ".lock".
    explicit clsFileLock(const QString& sFile);

    // Takes the lock, waiting at most lWaitMs for a live holder, and makes
    // the file's folder where it is missing; false when it could not be
    // had. Lets go when this object goes.
    bool Lock(int lWaitMs);

    // After a failed Lock: whether a holder kept it for the whole wait, as
    // against no lock that can be taken there at all.
    bool Busy() const { return bBusy; }
    // Why the lock could not be had, for a message that names the file.
    const QString& ErrorString() const { return sError; }

private:
    // Removes a lock file that a taker killed as it took it left empty,
    // once it has stayed empty for lEmptyStaleMs and nobody holds it.
    void ClearEmptyLock() const;

    QLockFile oLock;
    bool bBusy = false;
    QString sError;
};
