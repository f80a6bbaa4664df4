#pragma once

#include <QObject>

#include <memory>

// SIGINT, SIGTERM and SIGHUP (on Windows: Ctrl+C, Ctrl+Break and the
// console's close, as SIGINT, SIGBREAK and SIGTERM) as a signal of the
// event loop, once for each one received. The handler only passes the word
// on; the Stop it asks for runs when the loop takes it, never in the middle
// of a step of the upload.
class clsStopSignals : public QObject {
    Q_OBJECT

public:
    // On Unix also lets through the signals where they were held: a port's
    // own upload starts with them held, so that one forwarded to it early
    // waits for the handler. On Windows Ctrl+C stays off where the program
    // was started with it off: a port's upload hears the console's Ctrl+C
    // only as passed on.
    clsStopSignals();
    // Puts the default handling back.
    ~clsStopSignals() override;
    clsStopSignals(const clsStopSignals&) = delete;
    clsStopSignals& operator=(const clsStopSignals&) = delete;

signals:
    void Received(int iSignal);

private:
    // Where the handler's word comes in: the read end of a pipe on Unix;
    // nothing on Windows, where the handler posts to this object itself.
    std::unique_ptr<QObject> oListener;
};
