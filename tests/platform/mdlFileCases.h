#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <memory>

// What the durable-file tests do the way each system does it.
namespace mdlFileCases {

// A path that leads to no ordinary file, and what the file layer calls it.
struct Other {
    const char* sName;
    QString sPath;
    QString sKind;
};

// Paths of the system's own that lead to no ordinary file, some of them
// made in sFolder.
QList<Other> NotOrdinary(const QString& sFolder);

// Holds the lock file sLock as a program that takes the lock holds it
// while it fills it, until the result goes.
std::shared_ptr<void> HoldAsTaker(const QString& sLock);

// oWork's result, as a user without the rights to change a read-only file
// works (root would), in sFolder that it may change.
QString WithoutRights(const QString& sFolder, const std::function<QString()>& oWork);

// Gives sPath, and tells whether it has, a mode or attribute that a new file
// would not get.
void MakeUncommon(const QString& sPath);
bool IsUncommon(const QString& sPath);

} // namespace mdlFileCases
