#pragma once

#include <QString>

class clsSerialControl;

// What the engine asks of whoever drives it: the main window, the headless
// command or a test.
class clsEngineHost {
public:
    enum eMousePointer : qint16 { vbDefault = 0, vbHourglass = 11, vbArrowHourglass = 13 };

    virtual ~clsEngineHost() = default;

    // Appends one line to the status log.
    virtual void Status(const QString& sStatusLine) = 0;
    // Appends " ." to the last line of the status log.
    virtual void ShowWaitDots() = 0;
    virtual void SetMousePointer(eMousePointer iPointer) = 0;
    // The serial port the upload runs on.
    virtual clsSerialControl& CommPort() = 0;
};
