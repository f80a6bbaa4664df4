#pragma once

#include <QFile>
#include <QString>

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

} // namespace mdlOrdinaryFile
