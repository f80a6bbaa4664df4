#pragma once

#include "platform/mdlDurableFile.h"

#include <QByteArrayView>

// The system's part of mdlDurableFile, one source per platform, for its
// own use. lHandle is a handle that QFile gives.
namespace mdlDurableFile::Native {

// The words for the error of the call that failed last.
QString Reason();

// Written where sTarget may be replaced or is missing.
eWritten MayReplace(const QString& sTarget, QString& sWhy);
// aText in a new file sNew beside sTarget, with sTarget's mode or
// attributes, on disk; what a program killed while it wrote there left
// goes first.
eWritten WriteBeside(const QString& sTarget, const QString& sNew, const QByteArray& aText,
                     QString& sWhy);
// sNew put in sTarget's place, on disk.
eWritten PutInPlace(const QString& sNew, const QString& sTarget, QString& sWhy);

bool Size(int lHandle, qint64& lSize);
bool ByteAt(int lHandle, qint64 lOffset, char& cByte);
// In one call at the end of the file, also where another program has
// added to it; what was written, -1 for nothing.
qint64 WriteAtEnd(int lHandle, QByteArrayView aBytes);
bool Sync(int lHandle);
bool CutBack(int lHandle, qint64 lSize);

} // namespace mdlDurableFile::Native
