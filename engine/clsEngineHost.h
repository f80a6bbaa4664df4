#pragma once

#include <QString>

#include <memory>

class clsSerialControl;

// What the engine asks of whoever drives it: the main window, the headless
// command or a test.
class clsEngineHost {
public:
    enum eMousePointer : qint16 { vbDefault = 0, vbHourglass = 11, vbArrowHourglass = 13 };

    clsEngineHost();
    virtual ~clsEngineHost();
    clsEngineHost(const clsEngineHost&) = delete;
    clsEngineHost& operator=(const clsEngineHost&) = delete;

    // Appends one line to the status log.
    virtual void Status(const QString& sStatusLine) = 0;
    // Appends " ." to the last line of the status log.
    virtual void ShowWaitDots() = 0;
    // A line of the port's own, opened or closed: a status line, for a host
    // that tells it apart from the lines that say how an upload went.
    virtual void PortStatus(const QString& sStatusLine) { Status(sStatusLine); }
    virtual void SetMousePointer(eMousePointer iPointer) = 0;
    // The serial port the upload runs on; unless a host gives one, a port
    // that stands for no device, for hosts that never upload.
    virtual clsSerialControl& SerialPort();
    // How the status log names port iPort: "COM" and its number, unless
    // the host opens a device it names by its path.
    virtual QString PortName(qint16 iPort) const;

    // What an upload asks of its host beyond the log; hosts that never
    // upload need none of it.
    // The application file sPath and its command file were opened for an
    // upload, before anything in them was read.
    virtual void FilesOpened(const QString& /*sPath*/) {}
    // The window's reset, once the engine closed its port: puts the
    // controls back to idle and closes the reset prompt.
    virtual void ResetWindow() {}
    virtual void EnableResetCommand() {}
    // How long the board has for each reply.
    static constexpr int lReplyTimeoutMs = 2000;
    // Arms the reply timer of lReplyTimeoutMs afresh, or disarms it.
    virtual void SetReplyTimer(bool /*bOn*/) {}
    // Shows the prompt to reset the board, without waiting for it.
    virtual void ShowPressMsg() {}
    virtual void UnloadPressMsg() {}
    // The modal OK/Cancel warning before anything is overwritten; true for OK.
    virtual bool ConfirmOverwrite(const QString& /*sWarning*/) { return false; }

private:
    std::unique_ptr<clsSerialControl> oNoPort;
};
