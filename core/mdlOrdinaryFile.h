#pragma once

#include <QFile>
#include <QString>

#include <utility>

// Files named by whoever gives the path, opened only where the name leads
// to an ordinary file: a FIFO, a device or a folder there can neither hold
// the program nor fill its memory, and is refused with what it is.
namespace mdlOrdinaryFile {

enum class eOpened { Opened, Missing, Refused };

// Opens sPath into oFile for reading (ReadOnly) or for adding at its end
// (WriteOnly | Append, the file made where it is missing), without waiting
// on anything under the name; sWhy says why not, such as "not an ordinary
// file but a FIFO" or the system's reason.
eOpened Open(QFile& oFile, const QString& sPath, QIODevice::OpenMode iMode, QString& sWhy);

// True when the system takes sPath for no name at all, being too long.
bool NameTooLong(const QString& sPath);

// What sPath leads to where it is no ordinary file ("not an ordinary file
// but a folder"); empty for an ordinary file or nothing.
QString NotOrdinary(const QString& sPath);

// The size and the time of the last write, in nanoseconds, of the open
// oFile; not its last change, which a rename over its name makes too.
// {-1, -1} where the system does not tell.
std::pair<qint64, qint64> SizeAndWrite(const QFile& oFile);

} // namespace mdlOrdinaryFile
