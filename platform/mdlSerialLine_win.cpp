#include "platform/mdlSerialLine.h"

#include <windows.h>

namespace {

char ParityOf(BYTE iParity) {
    switch (iParity) {
    case ODDPARITY:
        return 'O';
    case EVENPARITY:
        return 'E';
    case MARKPARITY:
        return 'M';
    case SPACEPARITY:
        return 'S';
    default:
        return 'N';
    }
}

qint16 StopTenthsOf(BYTE iStopBits) {
    switch (iStopBits) {
    case ONE5STOPBITS:
        return 15;
    case TWOSTOPBITS:
        return 20;
    default:
        return 10;
    }
}

} // namespace

namespace mdlSerialLine {

QString Refused(Handle hPort, const Line& oAsked) {
    DCB oTaken{};
    oTaken.DCBlength = sizeof oTaken;
    if (!::GetCommState(hPort, &oTaken)) {
        return {};
    }
    if (oTaken.ByteSize != oAsked.iDataBits) {
        return QStringLiteral("%1 data bits").arg(oAsked.iDataBits);
    }
    if (ParityOf(oTaken.Parity) != oAsked.yParity) {
        return QStringLiteral("parity %1").arg(QLatin1Char(oAsked.yParity));
    }
    if (StopTenthsOf(oTaken.StopBits) != oAsked.iStopTenths) {
        return QStringLiteral("%1 stop bits").arg(oAsked.iStopTenths / 10.0);
    }
    return {};
}

// Windows gives a port to one program at a time, so there is nothing to
// claim before the open, and no line to set on a device not yet open.
void Preset(int, const Line&) {}

// Qt 6.4's wait for a write on Windows takes a completion that its event
// handler has already taken, and crashes once the port has been busy: the
// bytes are handed to the driver at once instead, and its buffer flushed.
void HandOver(QSerialPort& oPort, QDeadlineTimer) {
    if (oPort.isOpen() && oPort.bytesToWrite() > 0) {
        oPort.flush();
        ::FlushFileBuffers(oPort.handle());
    }
}

qint64 OutputQueue(Handle hPort) {
    COMSTAT oState{};
    DWORD lErrors = 0;
    return ::ClearCommError(hPort, &lErrors, &oState) ? qint64(oState.cbOutQue) : 0;
}

void AskLowLatency(Handle) {}

int Claim(const QString&) {
    return -1;
}

void Unclaim(int) {}

int Hold(Handle) {
    return -1;
}

void ReleaseWithoutHangUp(int) {}

bool MayBeSerial(const QString&, int) {
    return true;
}

bool MayOpen(const QString&) {
    return true;
}

QString GroupOf(const QString&) {
    return {};
}

// "com5", "COM5" and "\\.\COM5" are one port.
QString RealPath(const QString& sDevice) {
    QString sName = sDevice;
    if (sName.startsWith(QLatin1String("\\\\.\\"))) {
        sName.remove(0, 4);
    }
    return sName.toUpper();
}

} // namespace mdlSerialLine
