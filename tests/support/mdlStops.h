#pragma once

#include <QList>
#include <QProcess>

// The Stops a person or the system gives a program that runs at a
// terminal, each as this platform sends it.
namespace mdlStops {

struct Stop {
    const char* sName;
    // Sends the Stop to the started program; false when the system would
    // not send it.
    bool (*pSend)(const QProcess& oProgram);
};

// SIGINT and SIGTERM on Unix; Ctrl+Break on Windows, to a program in a
// process group of its own on this program's console.
QList<Stop> All();
// Readies oProgram, before it starts, to be sent each of All().
void Prepare(QProcess& oProgram);

} // namespace mdlStops
