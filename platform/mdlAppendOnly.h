#pragma once

#include <QByteArray>
#include <QString>

// Lines added to the end of a file that several programs add to at once and
// nobody rewrites: a line is there whole or not at all.
namespace mdlAppendOnly {

// Adds aLine, which ends with "\n", to the file sPath with one write and
// syncs it to disk, making the file and its folders where they are missing.
// A last line that a failed write left without its end gets one first, so
// that it spoils no line after it. Returns why the line could not be added;
// empty when it was.
QString AppendLine(const QString& sPath, const QByteArray& aLine);

} // namespace mdlAppendOnly
