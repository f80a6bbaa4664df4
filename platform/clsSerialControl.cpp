#include "platform/clsSerialControl.h"

#include "core/mdlOrdinaryFile.h"
#include "platform/clsPortBindings.h"

#include <QDeadlineTimer>
#include <QSerialPort>
#include <QSet>
#include <QThread>

#include <algorithm>
#include <limits>
#include <utility>

enum class clsSerialControl::eCause {
    Unbound,
    Missing,
    AlreadyOpen,
    NoPermission,
    InUse,
    Refused,
    NotSerial,
    NameTooLong,
    LineFailed,
    NotOpen,
    OutputClosed,
    OpenForbids,
    InvalidValue,
};

namespace {

struct Cause {
    qint32 lNumber;
    // %1: the port and its device, %2: the detail
    const char* sText;
};

// In the order of eCause.
constexpr Cause aCauses[] = {
    {clsSerialControl::PortInvalid, "%1 is bound to no device. Choose a device for it in the port "
                                    "settings, or choose another port."},
    {clsSerialControl::PortInvalid, "%1: the device does not exist. Check that the serial adapter "
                                    "is plugged in, or bind the port to another device."},
    {clsSerialControl::PortAlreadyOpen, "%1 is already open in this program."},
    {clsSerialControl::HardwareNotAvailable,
     "%1: permission denied. Make the user a member of the group \"%2\" that owns the device "
     "(for example: sudo usermod -aG %2 $USER), then log out and log in again."},
    {clsSerialControl::HardwareNotAvailable,
     "%1 is in use by another program. Close that program, then try again."},
    {clsSerialControl::SetCommStateFailed,
     "%1 refused the line setting %2. Choose settings the device supports, or another device."},
    {clsSerialControl::SetCommStateFailed,
     "%1 is not a serial device. Choose the device of a serial port or adapter."},
    {clsSerialControl::HardwareNotAvailable, "%1: the device's name is too long for this system."},
    {clsSerialControl::ReadError,
     "%1: reading or writing failed, and the port was closed. Check the cable and the adapter "
     "(a USB adapter may have been unplugged), then try again."},
    {clsSerialControl::NotOpen, "%1 is not open."},
    {clsSerialControl::PortNotOpen, "%1 is not open, so nothing can be sent."},
    {clsSerialControl::PortOpenNotValid, "%1 is open: close it before changing this setting."},
    {clsSerialControl::InvalidPropertyValue, "Invalid property value"},
};

// Of a device name the system takes for none, as much as tells it.
constexpr qsizetype lShownChars = 80;

// Time the line needs beyond the bytes themselves before the port closes.
constexpr qint64 lDrainMarginMs = 200;
constexpr qint64 lBitsPerCharacter = 10;

// Devices open in this program, by their real path.
QSet<QString>& OpenDevices() {
    static QSet<QString> asDevices;
    return asDevices;
}

qint16 Clamped(qint64 lCount) {
    return static_cast<qint16>(std::min<qint64>(lCount, std::numeric_limits<qint16>::max()));
}

QSerialPort::Parity ParityOf(char yParity) {
    switch (yParity) {
    case 'E':
        return QSerialPort::EvenParity;
    case 'O':
        return QSerialPort::OddParity;
    case 'M':
        return QSerialPort::MarkParity;
    case 'S':
        return QSerialPort::SpaceParity;
    default:
        return QSerialPort::NoParity;
    }
}

QSerialPort::StopBits StopBitsOf(qint16 iStopTenths) {
    switch (iStopTenths) {
    case 15:
        return QSerialPort::OneAndHalfStop;
    case 20:
        return QSerialPort::TwoStop;
    default:
        return QSerialPort::OneStop;
    }
}

} // namespace

clsSerialControl::clsSerialControl(DeviceOf oNewDeviceOf, QObject* pParent)
    : QObject(pParent), oDeviceOf(std::move(oNewDeviceOf)), oPort(std::make_unique<QSerialPort>()),
      oLine(*mdlSerialLine::Parse(sSettings)) {
    oDelivery.setSingleShot(true);
    oDelivery.setInterval(0);
    connect(&oDelivery, &QTimer::timeout, this, &clsSerialControl::Deliver);
    connect(oPort.get(), &QSerialPort::readyRead, this, [this] {
        KeepReading();
        ScheduleDelivery();
    });
    connect(oPort.get(), &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError iError) { OnPortError(iError); });
}

clsSerialControl::~clsSerialControl() {
    if (PortOpen()) {
        Close();
    }
    ReleaseClaim();
}

clsSerialControl::Failure clsSerialControl::SetCommPort(qint16 iNewPort) {
    if (PortOpen()) {
        return Fail(eCause::OpenForbids);
    }
    if (iNewPort < 1) {
        return Fail(eCause::InvalidValue);
    }
    iCommPort = iNewPort;
    sPinnedDevice.clear();
    return {};
}

clsSerialControl::Failure clsSerialControl::SetSettings(const QString& sNewSettings) {
    const std::optional<mdlSerialLine::Line> oNewLine = mdlSerialLine::Parse(sNewSettings);
    if (!oNewLine) {
        return Fail(eCause::InvalidValue);
    }
    sSettings = sNewSettings;
    oLine = *oNewLine;
    return PortOpen() ? TakeLine() : Failure{};
}

bool clsSerialControl::PortOpen() const {
    return oPort->isOpen();
}

clsSerialControl::Failure clsSerialControl::SetPortOpen(bool bOpen) {
    if (bOpen) {
        return Open();
    }
    if (!PortOpen()) {
        return Fail(eCause::NotOpen);
    }
    Close();
    return {};
}

clsSerialControl::Failure clsSerialControl::SetInBufferSize(qint16 iNewSize) {
    return CheckBufferSize(iNewSize);
}

clsSerialControl::Failure clsSerialControl::SetOutBufferSize(qint16 iNewSize) {
    return CheckBufferSize(iNewSize);
}

qint16 clsSerialControl::InBufferCount() const {
    return PortOpen() ? Clamped(oPort->bytesAvailable()) : 0;
}

void clsSerialControl::SetInBufferCount(qint16 iCount) {
    if (iCount == 0 && PortOpen()) {
        oPort->clear(QSerialPort::Input);
    }
}

qint16 clsSerialControl::OutBufferCount() const {
    return PortOpen() ? Clamped(oPort->bytesToWrite()) : 0;
}

void clsSerialControl::SetOutBufferCount(qint16 iCount) {
    if (iCount == 0 && PortOpen()) {
        oPort->clear(QSerialPort::Output);
    }
}

clsSerialControl::Failure clsSerialControl::Output(const QByteArray& aBytes) {
    if (!PortOpen()) {
        return OutputRefused();
    }
    oPort->write(aBytes);
    return {};
}

clsSerialControl::Failure clsSerialControl::Output(const QString& sText) {
    return Output(sText.toLatin1());
}

clsSerialControl::Failure clsSerialControl::Flush() {
    if (!PortOpen()) {
        return OutputRefused();
    }
    Drain();
    return PortOpen() ? Failure{} : Fail(eCause::LineFailed);
}

QVariant clsSerialControl::Input() {
    QByteArray aBytes;
    if (PortOpen()) {
        aBytes = iInputLen > 0 ? oPort->read(iInputLen) : oPort->readAll();
    }
    if (iInputMode == comInputModeBinary) {
        return aBytes;
    }
    return QString::fromLatin1(aBytes);
}

void clsSerialControl::SetEventsHeld(bool bHeld) {
    bEventsHeld = bHeld;
    if (!bHeld) {
        ScheduleDelivery();
    }
}

// A port that the line's failure closed inside a call (a buffer cleared
// on a device that went away) fails what is sent next as the line did.
clsSerialControl::Failure clsSerialControl::OutputRefused() const {
    return Fail(bClosedByLine ? eCause::LineFailed : eCause::OutputClosed);
}

QString clsSerialControl::Device() const {
    return sPinnedDevice.isEmpty() ? oDeviceOf(iCommPort) : sPinnedDevice;
}

clsSerialControl::Failure clsSerialControl::Fail(eCause iCause, const QString& sDetail) const {
    const Cause& oCause = aCauses[static_cast<int>(iCause)];
    QString sDevice = Device();
    if (iCause == eCause::NameTooLong) {
        sDevice = sDevice.left(lShownChars) + QStringLiteral("...");
    }
    QString sSubject = sDevice;
    // Port n that stands for COMn is named once.
    if (const QString sPort = clsPortBindings::PortName(iCommPort); !bNamedByDevice) {
        sSubject = sDevice.isEmpty() || sDevice == sPort
                       ? sPort
                       : QStringLiteral("%1 (%2)").arg(sPort, sDevice);
    }
    QString sDescription = QString::fromLatin1(oCause.sText);
    sDescription.replace(QLatin1String("%1"), sSubject).replace(QLatin1String("%2"), sDetail);
    return {oCause.lNumber, sDescription};
}

clsSerialControl::Failure clsSerialControl::CheckBufferSize(qint16 iNewSize) const {
    if (PortOpen()) {
        return Fail(eCause::OpenForbids);
    }
    return iNewSize < 1 ? Fail(eCause::InvalidValue) : Failure{};
}

clsSerialControl::Failure clsSerialControl::Open() {
    if (PortOpen()) {
        return Fail(eCause::AlreadyOpen);
    }
    if (sPinnedDevice.isEmpty()) {
        sPinnedDevice = oDeviceOf(iCommPort);
    }
    const QString sDevice = sPinnedDevice;
    if (sDevice.isEmpty()) {
        return Fail(eCause::Unbound);
    }
    if (mdlOrdinaryFile::NameTooLong(sDevice)) {
        return Fail(eCause::NameTooLong);
    }
    const QString sRealPath = mdlSerialLine::RealPath(sDevice);
    if (sRealPath.isEmpty()) {
        return Fail(eCause::Missing);
    }
    if (OpenDevices().contains(sRealPath)) {
        return Fail(eCause::AlreadyOpen);
    }
    // Before Qt's open, which would change the line of whoever holds it.
    if (lClaim < 0 || sClaimed != sRealPath) {
        ReleaseClaim();
        lClaim = mdlSerialLine::Claim(sRealPath);
        if (lClaim == mdlSerialLine::lTakenElsewhere) {
            lClaim = -1;
            return Fail(eCause::InUse);
        }
        sClaimed = sRealPath;
    }
    mdlSerialLine::Preset(lClaim, oLine);
    bClosedByLine = false;
    oPort->setPortName(sDevice);
    if (!oPort->open(QIODevice::ReadWrite)) {
        const Failure oFailure = OpenFailure(sDevice);
        ReleaseClaim();
        return oFailure;
    }
    if (const Failure oRefused = TakeLine()) {
        CloseNow();
        return oRefused;
    }
    // Whatever waited on the line before is not an answer to this session.
    oPort->clear(QSerialPort::Input);
    KeepReading();
    if (PortOpen()) {
        // A pty has no modem lines, and the upload does not need them.
        oPort->setDataTerminalReady(true);
        oPort->setRequestToSend(true);
        mdlSerialLine::AskLowLatency(oPort->handle());
        oPort->clearError();
    }
    // A device that went away meanwhile has closed the port again.
    if (!PortOpen()) {
        return Fail(eCause::LineFailed);
    }
    sOpenDevice = sRealPath;
    OpenDevices().insert(sOpenDevice);
    return {};
}

// Qt reports both a device node this user may not open and one that another
// program holds as a permission error, and what is no serial device as one
// that refused the line setting.
clsSerialControl::Failure clsSerialControl::OpenFailure(const QString& sDevice) const {
    switch (oPort->error()) {
    case QSerialPort::DeviceNotFoundError:
        return Fail(eCause::Missing);
    case QSerialPort::PermissionError:
        return mdlSerialLine::MayOpen(sDevice)
                   ? Fail(eCause::InUse)
                   : Fail(eCause::NoPermission, mdlSerialLine::GroupOf(sDevice));
    default:
        return mdlSerialLine::MayBeSerial(sDevice, lClaim) ? Fail(eCause::Refused, sSettings)
                                                           : Fail(eCause::NotSerial);
    }
}

// The device is asked what it took, since some (a pty) drop silently what
// they cannot do.
clsSerialControl::Failure clsSerialControl::TakeLine() {
    const bool bTaken = oPort->setBaudRate(oLine.lBaudRate) &&
                        oPort->setDataBits(static_cast<QSerialPort::DataBits>(oLine.iDataBits)) &&
                        oPort->setParity(ParityOf(oLine.yParity)) &&
                        oPort->setStopBits(StopBitsOf(oLine.iStopTenths)) &&
                        oPort->setFlowControl(QSerialPort::NoFlowControl);
    QString sRefused = mdlSerialLine::Refused(oPort->handle(), oLine);
    if (sRefused.isEmpty() && !bTaken) {
        sRefused = sSettings;
    }
    return sRefused.isEmpty() ? Failure{} : Fail(eCause::Refused, sRefused);
}

void clsSerialControl::Close() {
    Drain();
    if (PortOpen()) {
        CloseNow();
    }
}

// Qt drops what it has not written when it closes, and the driver may
// still hold the last record: both get the time they need at the line's
// rate, and a margin.
void clsSerialControl::Drain() {
    const mdlSerialLine::Handle hPort = oPort->handle();
    const qint64 lBytes = oPort->bytesToWrite() + mdlSerialLine::OutputQueue(hPort);
    const QDeadlineTimer oDeadline(lBytes * lBitsPerCharacter * 1000 / oLine.lBaudRate +
                                   lDrainMarginMs);
    mdlSerialLine::HandOver(*oPort, oDeadline);
    while (PortOpen() && mdlSerialLine::OutputQueue(hPort) > 0 && !oDeadline.hasExpired()) {
        QThread::msleep(2);
    }
}

void clsSerialControl::CloseNow() {
    ++lSession;
    oDelivery.stop();
    OpenDevices().remove(sOpenDevice);
    sOpenDevice.clear();
    const int lHeld = mdlSerialLine::Hold(oPort->handle());
    oPort->close();
    mdlSerialLine::ReleaseWithoutHangUp(lHeld);
    // The text-mode switch reopens at once: another copy starting just then
    // would take the device from the upload in between.
    QMetaObject::invokeMethod(
        this,
        [this, lClosed = lSession] {
            if (lClosed == lSession && !PortOpen()) {
                ReleaseClaim();
            }
        },
        Qt::QueuedConnection);
}

void clsSerialControl::ReleaseClaim() {
    mdlSerialLine::Unclaim(std::exchange(lClaim, -1));
    sClaimed.clear();
}

// Qt keeps reporting a device that went away, as fast as it can, for as
// long as the port stays open.
void clsSerialControl::OnPortError(qint32 lError) {
    const bool bLineFailed = lError == QSerialPort::ReadError ||
                             lError == QSerialPort::WriteError ||
                             lError == QSerialPort::ResourceError;
    if (!bLineFailed || !PortOpen()) {
        return;
    }
    CloseNow();
    bClosedByLine = true;
    const Failure oFailure = Fail(eCause::LineFailed);
    QMetaObject::invokeMethod(
        this, [this, oFailure] { emit Failed(oFailure.lNumber, oFailure.sDescription); },
        Qt::QueuedConnection);
}

// Wine completes Qt's wait for a character on a pseudo-terminal at once and
// never reports it, so nothing more would be read; a read started here
// brings the next bytes. Where a read is under way it starts nothing.
void clsSerialControl::KeepReading() {
    if (PortOpen()) {
        oPort->setReadBufferSize(0);
    }
}

void clsSerialControl::ScheduleDelivery() {
    if (PortOpen() && !oDelivery.isActive()) {
        oDelivery.start();
    }
}

// The handler may close, reopen or hold the port, so everything is checked
// again here rather than when the bytes came.
void clsSerialControl::Deliver() {
    if (bEventsHeld || iRThreshold < 1 || !PortOpen() || oPort->bytesAvailable() < iRThreshold) {
        return;
    }
    const qint64 lWaiting = oPort->bytesAvailable();
    iCommEvent = comEvReceive;
    emit OnComm();
    // A handler that reads nothing would otherwise be called for ever; what
    // is left short of an event waits for more to come.
    if (PortOpen() && oPort->bytesAvailable() < lWaiting &&
        oPort->bytesAvailable() >= iRThreshold) {
        ScheduleDelivery();
    }
}
