#include "tools/boardsim/clsPtyMaster.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

clsPtyMaster::~clsPtyMaster() {
    HangUp();
    if (!sLinkPath.isEmpty() && QFileInfo(sLinkPath).symLinkTarget() == sSlavePath) {
        QFile::remove(sLinkPath);
    }
}

bool clsPtyMaster::Open(const QString& sLink, QString& sProblem) {
    int lSlave = -1;
    char aName[256] = {};
    if (::openpty(&lMaster, &lSlave, aName, nullptr, nullptr) != 0) {
        sProblem =
            QStringLiteral("no pseudo-terminal: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    // Raw both ways, so that no byte of the dialogue is echoed or changed.
    termios oSettings{};
    ::tcgetattr(lSlave, &oSettings);
    ::cfmakeraw(&oSettings);
    ::tcsetattr(lSlave, TCSANOW, &oSettings);
    // Held open here, the port would never look closed.
    ::close(lSlave);
    ::fcntl(lMaster, F_SETFL, O_NONBLOCK);
    sSlavePath = QString::fromLocal8Bit(aName);
    return sLink.isEmpty() || Link(sLink, sProblem);
}

bool clsPtyMaster::Link(const QString& sLink, QString& sProblem) {
    const QFileInfo oLink(sLink);
    if ((oLink.exists() || oLink.isSymLink()) && (!oLink.isSymLink() || !QFile::remove(sLink))) {
        sProblem =
            QStringLiteral("%1 is there and is no symbolic link of ours to replace").arg(sLink);
        return false;
    }
    if (!QFile::link(sSlavePath, sLink)) {
        sProblem = QStringLiteral("cannot make the link %1").arg(sLink);
        return false;
    }
    sLinkPath = oLink.absoluteFilePath();
    return true;
}

// The master reports the port's own settings.
qint32 clsPtyMaster::BaudRate() const {
    static constexpr std::pair<speed_t, qint32> aRates[] = {
        {B1200, 1200},   {B2400, 2400},   {B4800, 4800},   {B9600, 9600},
        {B19200, 19200}, {B38400, 38400}, {B57600, 57600}, {B115200, 115200}};
    termios oSettings{};
    if (::tcgetattr(lMaster, &oSettings) != 0) {
        return 0;
    }
    const speed_t lSpeed = ::cfgetospeed(&oSettings);
    for (const auto& [lCode, lRate] : aRates) {
        if (lCode == lSpeed) {
            return lRate;
        }
    }
    return 0;
}

bool clsPtyMaster::PeerIsOpen() const {
    pollfd oPoll{lMaster, POLLIN, 0};
    return lMaster >= 0 && ::poll(&oPoll, 1, 0) >= 0 && !(oPoll.revents & POLLHUP);
}

QByteArray clsPtyMaster::ReadWaiting() {
    QByteArray aBytes;
    char aChunk[4096];
    ssize_t lRead = 0;
    // Ends at EAGAIN while the port is open, at EIO once it is closed.
    while (lMaster >= 0 && (lRead = ::read(lMaster, aChunk, sizeof aChunk)) > 0) {
        aBytes.append(aChunk, lRead);
    }
    return aBytes;
}

bool clsPtyMaster::Write(const QByteArray& aBytes) {
    qsizetype lDone = 0;
    while (lMaster >= 0 && lDone < aBytes.size()) {
        const ssize_t lWritten =
            ::write(lMaster, aBytes.constData() + lDone, aBytes.size() - lDone);
        if (lWritten > 0) {
            lDone += lWritten;
        } else if (errno == EAGAIN) {
            pollfd oPoll{lMaster, POLLOUT, 0};
            ::poll(&oPoll, 1, 10);
        } else if (errno != EINTR) {
            return false;
        }
    }
    return lDone == aBytes.size();
}

void clsPtyMaster::HangUp() {
    if (lMaster >= 0) {
        ::close(lMaster);
        lMaster = -1;
    }
}
