#pragma once

#include <QDeadlineTimer>
#include <QSerialPort>
#include <QString>

#include <optional>
#include <utility>

// The line settings of a serial port, and what the operating system tells
// about a serial device beyond what Qt does. Where a system has no such
// thing (Windows opens a port for one program only, by its name), the
// call does nothing or says "yes".
namespace mdlSerialLine {

// The open port as the system knows it.
using Handle = decltype(std::declval<QSerialPort>().handle());

struct Line {
    qint32 lBaudRate = 9600;
    // E O N M S
    char yParity = 'N';
    qint16 iDataBits = 8;
    // 10, 15 or 20
    qint16 iStopTenths = 10;
};

// "57600,N,8,1": parity E O N M S, data bits 5 to 8, stop bits 1, 1.5 or 2
// with "." or ","; nothing for any other text.
std::optional<Line> Parse(const QString& sSettings);

// The first framing setting of oAsked that the open device did not take,
// as words ("parity E", "7 data bits"); empty when it took them all.
QString Refused(Handle hPort, const Line& oAsked);

// Gives the claimed device the rate and framing of oLine before Qt opens it: Qt sets
// back at its close the line it found at its open, at once, while the
// UART or the adapter may still be sending the last record. A rate that
// has no standard name stays as it is.
void Preset(int lClaim, const Line& oLine);

// Hands what Qt still holds for the open oPort to the driver, by
// oDeadline at the latest where the system lets it wait.
void HandOver(QSerialPort& oPort, QDeadlineTimer oDeadline);

// Bytes the driver still holds for sending; 0 where it cannot tell.
qint64 OutputQueue(Handle hPort);

// Lets a USB serial adapter pass on each received byte at once instead of
// after its latency timer; a device without that mode is left as it is.
void AskLowLatency(Handle hPort);

// A descriptor of sDevice that keeps every other copy of this program off
// it, under any of its names and as any user, for as long as it stays open:
// Qt's lock file goes by the name, and root passes the exclusive mode.
// lTakenElsewhere when another holds it; -1 when sDevice cannot be opened
// here, which the open that follows tells in its own words.
constexpr int lTakenElsewhere = -2;
int Claim(const QString& sDevice);
// Lets other copies have the device again; after a close that cleared
// hang-up, this close hangs up no more than that one did.
void Unclaim(int lClaim);

// A second descriptor held over the close of the first, so that the close
// is not the last one; see ReleaseWithoutHangUp.
int Hold(Handle hPort);
// Clears hang-up on close before closing lHeld, so that DTR and RTS stay
// up for the next open and a board that takes its reset from them runs on.
void ReleaseWithoutHangUp(int lHeld);

// False for what is no serial device: no character device, or one that
// lOpened, open on it (-1 when it is not), shows to be no terminal.
bool MayBeSerial(const QString& sDevice, int lOpened);
// Whether this user may open sDevice for reading and writing.
bool MayOpen(const QString& sDevice);
// The name of the group that owns sDevice.
QString GroupOf(const QString& sDevice);
// The one name of the device sDevice stands for, the same whichever of its
// names is given; empty where there is no such device.
QString RealPath(const QString& sDevice);

} // namespace mdlSerialLine
