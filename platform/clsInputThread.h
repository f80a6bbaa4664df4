#pragma once

#include <QByteArray>
#include <QObject>

// Standard input on Windows, read on a thread of its own: the event loop can
// wait on neither a pipe nor a console's lines, so a read that blocks
// blocks there, and each piece comes to the loop as a signal. One for the
// whole process, since two readers would share the input out between them;
// what comes while nobody listens is dropped.
class clsInputThread : public QObject {
    Q_OBJECT

public:
    // The reader, started at the first call and never ended: its read may
    // wait until the process ends. Nothing when there is no standard input.
    static clsInputThread* Instance();

signals:
    // Empty at the end of input, or when it can no longer be read.
    void PieceRead(const QByteArray& aPiece);

private:
    clsInputThread() = default;
};
