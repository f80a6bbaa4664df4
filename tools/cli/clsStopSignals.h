#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

// SIGINT and SIGTERM as a signal of the event loop. The handler only writes
// a byte to a pipe; the Stop they ask for runs when the loop reads it, never
// in the middle of a step of the upload.
class clsStopSignals : public QObject {
    Q_OBJECT

public:
    clsStopSignals();
    // Puts the default handling back.
    ~clsStopSignals() override;
    clsStopSignals(const clsStopSignals&) = delete;
    clsStopSignals& operator=(const clsStopSignals&) = delete;

signals:
    void Received();

private:
    void Drain();

    std::unique_ptr<QSocketNotifier> oNotifier;
};
