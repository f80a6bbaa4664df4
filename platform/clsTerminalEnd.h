#pragma once

#include <QObject>
#include <QString>

#include <memory>

// The end of standard input typed at a terminal (Ctrl+D; Ctrl+Z and Enter
// at a Windows console), as a signal of the event loop; lines typed before
// it are read and dropped. Input that is no terminal is left alone: a
// script's input, at its end from the start, must not end anything. So is a
// terminal while this job is not the one in front: what is typed there is
// another job's.
class clsTerminalEnd : public QObject {
    Q_OBJECT

public:
    clsTerminalEnd();
    // Whether there is a terminal whose end is watched.
    bool Watching() const { return oWatch != nullptr; }
    // The keys that end a terminal's input, such as "Ctrl+D".
    static QString EndKeys();

signals:
    void Ended();

private:
    // What watches standard input, while there is a terminal to watch.
    std::unique_ptr<QObject> oWatch;
};
