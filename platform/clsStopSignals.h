#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

// SIGINT, SIGTERM and SIGHUP as a signal of the event loop, once for each
// one received. The handler only writes a byte to a pipe; the Stop they ask
// for runs when the loop reads it, never in the middle of a step of the
// upload.
class clsStopSignals : public QObject {
    Q_OBJECT

public:
    // Also lets through the two signals where they were held: a port's own
    // upload starts with them held, so that one forwarded to it early waits
    // for the handler.
    clsStopSignals();
    // Puts the default handling back.
    ~clsStopSignals() override;
    clsStopSignals(const clsStopSignals&) = delete;
    clsStopSignals& operator=(const clsStopSignals&) = delete;

signals:
    void Received(int iSignal);

private:
    void Drain();

    std::unique_ptr<QSocketNotifier> oNotifier;
};
