#include "platform/mdlSerialLine.h"

#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <grp.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace {

char ParityOf(tcflag_t lFlags) {
    if ((lFlags & PARENB) == 0) {
        return 'N';
    }
    const bool bOdd = (lFlags & PARODD) != 0;
    if ((lFlags & CMSPAR) != 0) {
        return bOdd ? 'M' : 'S';
    }
    return bOdd ? 'O' : 'E';
}

qint16 DataBitsOf(tcflag_t lFlags) {
    switch (lFlags & CSIZE) {
    case CS5:
        return 5;
    case CS6:
        return 6;
    case CS7:
        return 7;
    default:
        return 8;
    }
}

speed_t SpeedOf(qint32 lBaudRate) {
    static constexpr std::pair<qint32, speed_t> aSpeeds[] = {
        {1200, B1200},   {2400, B2400},   {4800, B4800},   {9600, B9600},
        {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}};
    for (const auto& [lRate, lSpeed] : aSpeeds) {
        if (lRate == lBaudRate) {
            return lSpeed;
        }
    }
    return B0;
}

tcflag_t FramingOf(const mdlSerialLine::Line& oLine) {
    static constexpr tcflag_t aSizes[] = {CS5, CS6, CS7, CS8};
    tcflag_t lFlags = aSizes[oLine.iDataBits - 5] | (oLine.iStopTenths == 20 ? CSTOPB : 0);
    if (oLine.yParity != 'N') {
        lFlags |= PARENB | (oLine.yParity == 'O' || oLine.yParity == 'M' ? PARODD : 0) |
                  (oLine.yParity == 'M' || oLine.yParity == 'S' ? CMSPAR : 0);
    }
    return lFlags;
}

} // namespace

namespace mdlSerialLine {

QString Refused(Handle hPort, const Line& oAsked) {
    termios oTaken{};
    if (::tcgetattr(hPort, &oTaken) != 0) {
        return {};
    }
    if (DataBitsOf(oTaken.c_cflag) != oAsked.iDataBits) {
        return QStringLiteral("%1 data bits").arg(oAsked.iDataBits);
    }
    if (ParityOf(oTaken.c_cflag) != oAsked.yParity) {
        return QStringLiteral("parity %1").arg(QLatin1Char(oAsked.yParity));
    }
    const qint16 iStopTenths = (oTaken.c_cflag & CSTOPB) != 0 ? 20 : 10;
    if (iStopTenths != oAsked.iStopTenths) {
        return QStringLiteral("%1 stop bits").arg(oAsked.iStopTenths / 10.0);
    }
    return {};
}

void Preset(int lClaim, const Line& oLine) {
    termios oSettings{};
    if (::tcgetattr(lClaim, &oSettings) != 0) {
        return;
    }
    if (const speed_t lSpeed = SpeedOf(oLine.lBaudRate); lSpeed != B0) {
        ::cfsetspeed(&oSettings, lSpeed);
    }
    oSettings.c_cflag &= ~(CSIZE | CSTOPB | PARENB | PARODD | CMSPAR | CRTSCTS);
    oSettings.c_cflag |= FramingOf(oLine);
    ::tcsetattr(lClaim, TCSANOW, &oSettings);
}

// A failed write closes the port meanwhile.
void HandOver(QSerialPort& oPort, QDeadlineTimer oDeadline) {
    while (oPort.isOpen() && oPort.bytesToWrite() > 0 &&
           oPort.waitForBytesWritten(static_cast<int>(oDeadline.remainingTime()))) {
    }
}

qint64 OutputQueue(Handle hPort) {
    int lBytes = 0;
    return ::ioctl(hPort, TIOCOUTQ, &lBytes) == 0 ? lBytes : 0;
}

void AskLowLatency(Handle hPort) {
    serial_struct oSerial{};
    if (::ioctl(hPort, TIOCGSERIAL, &oSerial) == 0) {
        oSerial.flags |= ASYNC_LOW_LATENCY;
        ::ioctl(hPort, TIOCSSERIAL, &oSerial);
    }
}

int Claim(const QString& sDevice) {
    const int lClaim =
        ::open(sDevice.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    // A device that takes no locks is left to the open's own checks.
    if (lClaim < 0 || ::flock(lClaim, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK) {
        return lClaim;
    }
    ::close(lClaim);
    return lTakenElsewhere;
}

void Unclaim(int lClaim) {
    if (lClaim >= 0) {
        ::close(lClaim);
    }
}

int Hold(Handle hPort) {
    return ::dup(hPort);
}

void ReleaseWithoutHangUp(int lHeld) {
    if (lHeld < 0) {
        return;
    }
    termios oSettings{};
    if (::tcgetattr(lHeld, &oSettings) == 0) {
        oSettings.c_cflag &= ~HUPCL;
        ::tcsetattr(lHeld, TCSANOW, &oSettings);
    }
    ::close(lHeld);
}

bool MayBeSerial(const QString& sDevice, int lOpened) {
    struct stat oNode {};
    if (::stat(sDevice.toLocal8Bit().constData(), &oNode) != 0) {
        return true;
    }
    return S_ISCHR(oNode.st_mode) && (lOpened < 0 || ::isatty(lOpened) == 1);
}

bool MayOpen(const QString& sDevice) {
    return ::access(sDevice.toLocal8Bit().constData(), R_OK | W_OK) == 0;
}

QString GroupOf(const QString& sDevice) {
    struct stat oNode {};
    if (::stat(sDevice.toLocal8Bit().constData(), &oNode) == 0) {
        if (const group* pGroup = ::getgrgid(oNode.st_gid)) {
            return QString::fromLocal8Bit(pGroup->gr_name);
        }
    }
    return QStringLiteral("dialout");
}

QString RealPath(const QString& sDevice) {
    return QFileInfo(sDevice).canonicalFilePath();
}

} // namespace mdlSerialLine
