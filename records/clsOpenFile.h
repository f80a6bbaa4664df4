#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// One file open in the program's file table, with the buffered line reading
// that sequential input needs. Lines end at CR LF, LF or a lone CR; the last
// line may have no line end at all.
class clsOpenFile {
public:
    enum class eMode : qint16 { RandomRead, RandomWrite, InputRead, AppendWrite };

    // Opens sPath in the given mode; raises the file service's error on failure.
    clsOpenFile(const QString& sPath, eMode iNewMode, qint32 lRecordLength);

    bool AtEnd();
    // The next line without its line end; at the end of the file, an error.
    QString ReadLine();
    // Flushes and closes; false when data could not be written out.
    bool Close();

private:
    bool Refill();
    QString LineText(QByteArrayView aLine);

    QFile oFile;
    eMode iMode;
    QByteArray aBuffer;
    qsizetype lBufferPos = 0;
    QString sLineBuffer;
};
