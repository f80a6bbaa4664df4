#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// One file open in the program's file table, with the buffered line reading
// that sequential input needs. Lines end at CR LF, LF or a lone CR; the last
// line may have no line end at all. Only ordinary files are opened for
// reading, and a line may be at most lLongestLine characters long, so that
// a device, a FIFO or a file without line ends can neither hold the
// program nor fill its memory.
class clsOpenFile {
public:
    enum class eMode : qint16 { RandomRead, RandomWrite, InputRead, AppendWrite };
    // A valid S-record line is at most 150 characters; a command-file line
    // has no use for more either.
    static constexpr qsizetype lLongestLine = 1024;

    // Opens sPath in the given mode; raises the file service's error, with
    // the path and why, on failure.
    clsOpenFile(const QString& sPath, eMode iNewMode, qint32 lRecordLength);

    bool AtEnd();
    // The next line without its line end; an error at the end of the file,
    // for a line that is too long and when the file cannot be read.
    QString ReadLine();
    // Flushes and closes; false when data could not be written out.
    bool Close();
    // Once the file was read to its end: the SHA-256 of what its lines were
    // made of, whatever became of the file under its name meanwhile, and
    // how many bytes that was. Empty before, and for a file that changed.
    QByteArray ReadSha256();
    qint64 BytesRead() const { return lBytesRead; }

private:
    void OpenForReading(const QString& sPath);
    bool Refill();
    // Whether the file is still as it was opened: a file written, cut or
    // grown while it was read would give lines of two versions.
    bool Unchanged() const;
    QString LineText(QByteArrayView aLine);

    QFile oFile;
    eMode iMode;
    QByteArray aBuffer;
    qsizetype lBufferPos = 0;
    QString sLineBuffer;
    qint64 lBytesRead = 0;
    // The file's size and, where the system keeps it, the time of its last
    // write, as they were at the open.
    qint64 lOpenedSize = 0;
    qint64 lOpenedWrite = 0;
};
