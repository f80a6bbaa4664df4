#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

// The end of standard input typed at a terminal (Ctrl+D), as a signal of
// the event loop; lines typed before it are read and dropped. Input that is
// no terminal is left alone: a script's input, at its end from the start,
// must not end anything. So is a terminal while this job is not the one in
// front: what is typed there is another job's.
class clsTerminalEnd : public QObject {
    Q_OBJECT

public:
    clsTerminalEnd();

signals:
    void Ended();

private:
    void Read();

    std::unique_ptr<QSocketNotifier> oNotifier;
};
