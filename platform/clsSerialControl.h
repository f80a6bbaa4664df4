#pragma once

#include "platform/mdlSerialLine.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariant>

#include <functional>
#include <memory>

class QSerialPort;

// The serial port as the upload drives it: numbered ports, line settings
// given as text ("57600,N,8,1"), a receive event once enough characters
// wait, and reads of a fixed length. Failures come back as numbers of the
// 8000 series with a description that names the port and its device; the
// control never throws.
class clsSerialControl : public QObject {
    Q_OBJECT

public:
    enum eInputMode : qint16 { comInputModeText = 0, comInputModeBinary = 1 };
    enum eCommEvent : qint16 { comEvReceive = 2 };
    enum eFailure : qint32 {
        NoFailure = 0,
        InvalidPropertyValue = 380,
        PortOpenNotValid = 8000,
        PortInvalid = 8002,
        PortAlreadyOpen = 8005,
        HardwareNotAvailable = 8010,
        NotOpen = 8012,
        SetCommStateFailed = 8015,
        PortNotOpen = 8018,
        ReadError = 8020,
    };
    // The series the control's numbers belong to, whether or not it raises
    // each of them.
    static constexpr qint32 lFirstSeriesNumber = 8000;
    static constexpr qint32 lLastSeriesNumber = 8020;
    // What a call that can fail answers: NoFailure, or the number and words.
    struct Failure {
        qint32 lNumber = NoFailure;
        QString sDescription;
        explicit operator bool() const { return lNumber != NoFailure; }
    };
    // The device a port number stands for; empty when it stands for none.
    using DeviceOf = std::function<QString(qint16 iPort)>;

    explicit clsSerialControl(DeviceOf oNewDeviceOf, QObject* pParent = nullptr);
    ~clsSerialControl() override;

    qint16 CommPort() const { return iCommPort; }
    // The device port iPort stands for now; empty when none.
    QString DeviceFor(qint16 iPort) const { return oDeviceOf(iPort); }
    // Opens after this one go to the device the port stands for at the
    // first of them: a binding changed meanwhile must not split one upload
    // between two devices.
    Failure SetCommPort(qint16 iNewPort);
    // Errors name the port by its device alone, where the technician chose
    // the device and no number stands for it.
    void SetNamedByDevice(bool bByDevice) { bNamedByDevice = bByDevice; }
    bool NamedByDevice() const { return bNamedByDevice; }
    const QString& Settings() const { return sSettings; }
    // Parity letters E O N M S; stop bits 1, 1.5 or 2; "." or "," in them.
    Failure SetSettings(const QString& sNewSettings);
    bool PortOpen() const;
    // Opening discards whatever waited on the line before; closing first
    // lets the queued output leave, for no longer than it needs at the
    // line's rate and a margin.
    Failure SetPortOpen(bool bOpen);

    void SetInputMode(eInputMode iNewMode) { iInputMode = iNewMode; }
    void SetInputLen(qint16 iNewLength) { iInputLen = iNewLength; }
    void SetRThreshold(qint16 iNewThreshold) { iRThreshold = iNewThreshold; }
    void SetSThreshold(qint16 iNewThreshold) { iSThreshold = iNewThreshold; }
    // Only while the port is closed. The buffers grow as needed, so nothing
    // received or queued is lost for want of room.
    Failure SetInBufferSize(qint16 iNewSize);
    Failure SetOutBufferSize(qint16 iNewSize);
    qint16 InBufferCount() const;
    // 0 discards waiting input; does nothing on a closed port.
    void SetInBufferCount(qint16 iCount);
    qint16 OutBufferCount() const;
    // 0 discards output not yet sent.
    void SetOutBufferCount(qint16 iCount);

    // Queues bytes for sending: a text goes one byte per character, its
    // 0x00 characters included.
    Failure Output(const QByteArray& aBytes);
    Failure Output(const QString& sText);
    // Waits until what was queued has left, as far as the line's rate and a
    // margin allow; fails when the line failed meanwhile (the port is then
    // closed). Bytes a driver still counts at the end are no failure: some
    // count bytes that have long left.
    Failure Flush();
    // At most InputLen characters (all waiting when 0): a QByteArray in
    // binary mode, a QString in text mode.
    QVariant Input();
    qint16 CommEvent() const { return iCommEvent; }

    // While held, receive events wait; on release what waits is checked again.
    void SetEventsHeld(bool bHeld);
    bool EventsHeld() const { return bEventsHeld; }

signals:
    // At least RThreshold characters wait; raised from the event loop,
    // never inside another call of this control.
    void OnComm();
    // A read, write or resource error while open: reported once, after
    // the port was closed.
    void Failed(qint32 lNumber, const QString& sDescription);

private:
    enum class eCause;
    QString Device() const;
    Failure Fail(eCause iCause, const QString& sDetail = {}) const;
    Failure CheckBufferSize(qint16 iNewSize) const;
    Failure OutputRefused() const;
    Failure Open();
    Failure OpenFailure(const QString& sDevice) const;
    Failure TakeLine();
    void Close();
    void Drain();
    void CloseNow();
    void ReleaseClaim();
    void OnPortError(qint32 lError);
    void KeepReading();
    void ScheduleDelivery();
    void Deliver();

    DeviceOf oDeviceOf;
    // The device of the first open since SetCommPort; empty before it.
    QString sPinnedDevice;
    std::unique_ptr<QSerialPort> oPort;
    qint16 iCommPort = 1;
    bool bNamedByDevice = false;
    QString sSettings = QStringLiteral("9600,N,8,1");
    mdlSerialLine::Line oLine;
    eInputMode iInputMode = comInputModeText;
    qint16 iInputLen = 0;
    qint16 iRThreshold = 0;
    qint16 iSThreshold = 0;
    qint16 iCommEvent = 0;
    bool bEventsHeld = false;
    // The device as this program knows it open, to refuse a second open.
    QString sOpenDevice;
    // Keeps other copies of the program off the device while it is open,
    // and across a close and reopen in one pass of the event loop.
    int lClaim = -1;
    // The real path lClaim holds.
    QString sClaimed;
    // Counts closes: a claim kept for an earlier session is released.
    quint64 lSession = 0;
    // A zero timer rather than a posted call: it fires in the same pass of
    // the event loop as the read, without waking the loop. Every close
    // stops it, so what it delivers belongs to the open session.
    QTimer oDelivery;
    // The line failed and closed the port, and it was not opened since.
    bool bClosedByLine = false;
};
