#pragma once

#include "core/mdlOrdinaryFile.h"

#include <QByteArray>
#include <QString>

// Files that programs keep across runs and share while they run (the
// settings, the serial number counter, the ledger of uploads): read only
// where they are ordinary files, replaced whole or added to whole, and on
// disk before a change is reported done. A change runs with the file's
// clsFileLock held.
namespace mdlDurableFile {

using mdlOrdinaryFile::eOpened;

// The whole of sPath into aText, when it is an ordinary file of at most
// lLargest bytes; sWhy says why not.
eOpened ReadWhole(const QString& sPath, qint64 lLargest, QByteArray& aText, QString& sWhy);

enum class eWritten { Written, NoRoom, Refused };

// The file that a change of sPath lands in: the one a symbolic link leads
// to, where there is one.
QString Target(const QString& sPath);

// Puts aText in place of the file sPath (of the file a symbolic link
// leads to), with its mode, whole or not at all, also across a power cut:
// written beside it, synced, renamed over it, its folder synced. Where the
// file stays as it was, sWhy says why, and NoRoom tells a full disk or a
// file size limit from the rest.
eWritten Replace(const QString& sPath, const QByteArray& aText, QString& sWhy);

// Adds aEntry to the end of the ordinary file sPath, made where it is
// missing, in one write: a write cut short (a full disk) is cut back, so
// that the entry is there whole or not at all. A last line that a program
// killed while it wrote left without its end gets one first, so that it
// spoils no entry after it. False with sWhy when the entry is not there.
bool Append(const QString& sPath, const QByteArray& aEntry, QString& sWhy);

// Named points of a change at which a test stops the program as a kill
// would: "locked" once the lock is taken, "replacing" once the new file is
// whole on disk beside the old one, "written" once the change is on disk,
// the lock still held. pHook is called at each; none is set in the
// programs.
using PointHook = void (*)(const char* sPoint);
void SetPointHook(PointHook pHook);
void Pass(const char* sPoint);

} // namespace mdlDurableFile
