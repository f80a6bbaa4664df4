#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QProcess>
#include <QString>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

// A pseudo-terminal standing in for a serial line: the program under test
// opens SlavePath() as its device, the test plays the other end on the
// master side.
class clsPseudoTerminal {
public:
    clsPseudoTerminal() {
        int lSlave = -1;
        char aName[256] = {};
        if (::openpty(&lMaster, &lSlave, aName, nullptr, nullptr) != 0) {
            qFatal("openpty failed: %s", strerror(errno));
        }
        // As a serial driver starts: raw, and hang up on the last close.
        termios oSettings{};
        ::tcgetattr(lSlave, &oSettings);
        ::cfmakeraw(&oSettings);
        oSettings.c_cflag |= HUPCL;
        ::tcsetattr(lSlave, TCSANOW, &oSettings);
        ::close(lSlave);
        ::fcntl(lMaster, F_SETFL, O_NONBLOCK);
        sSlavePath = QString::fromLocal8Bit(aName);
    }
    ~clsPseudoTerminal() { CloseMaster(); }
    clsPseudoTerminal(const clsPseudoTerminal&) = delete;
    clsPseudoTerminal& operator=(const clsPseudoTerminal&) = delete;

    const QString& SlavePath() const { return sSlavePath; }

    // The line's settings as the slave side last set them.
    termios Settings() const {
        termios oSettings{};
        ::tcgetattr(lMaster, &oSettings);
        return oSettings;
    }

    bool Write(const QByteArray& aBytes) {
        return ::write(lMaster, aBytes.constData(), aBytes.size()) == aBytes.size();
    }

    // What the slave side sent, until lCount bytes came or lMsecs passed.
    QByteArray Read(qsizetype lCount, int lMsecs) {
        QByteArray aBytes;
        const QDeadlineTimer oDeadline(lMsecs);
        while (aBytes.size() < lCount && !oDeadline.hasExpired()) {
            pollfd oPoll{lMaster, POLLIN, 0};
            ::poll(&oPoll, 1, static_cast<int>(oDeadline.remainingTime()));
            char aChunk[4096];
            const ssize_t lRead = ::read(lMaster, aChunk, sizeof aChunk);
            if (lRead > 0) {
                aBytes.append(aChunk, lRead);
            } else {
                // nobody has the slave open: the master reports a hang-up
                QThread::msleep(2);
            }
        }
        return aBytes;
    }

    // What the slave side sent while oProgram ran, and a moment after.
    QByteArray ReadWhile(QProcess& oProgram) {
        QByteArray aBytes;
        while (oProgram.state() != QProcess::NotRunning) {
            aBytes += Read(1 << 16, 100);
            oProgram.waitForFinished(0);
        }
        return aBytes + Read(1 << 16, 100);
    }

    // The other end goes away, as an unplugged adapter does.
    void CloseMaster() {
        if (lMaster >= 0) {
            ::close(lMaster);
            lMaster = -1;
        }
    }

private:
    int lMaster = -1;
    QString sSlavePath;
};
