#pragma once

#include <QByteArray>
#include <QString>

// The board's end of a pseudo-terminal; the program under test opens the
// other end as its serial port. While nobody has that end open, the
// board's end reports a hang-up.
class clsPtyMaster {
public:
    clsPtyMaster() = default;
    ~clsPtyMaster();
    clsPtyMaster(const clsPtyMaster&) = delete;
    clsPtyMaster& operator=(const clsPtyMaster&) = delete;

    // Makes a raw pair and, when sLink is given, a symbolic link to the
    // port there; false with sProblem when either fails.
    bool Open(const QString& sLink, QString& sProblem);
    const QString& SlavePath() const { return sSlavePath; }
    // For poll; -1 once hung up.
    int Handle() const { return lMaster; }

    // Whether the program under test has the port open, asked without waiting.
    bool PeerIsOpen() const;
    // The speed the program under test set on its port; 0 for one of no
    // serial line.
    qint32 BaudRate() const;
    // Everything the program under test has sent and not yet been read.
    QByteArray ReadWaiting();
    bool Write(const QByteArray& aBytes);
    // The line goes dead for good, as an unplugged board's does.
    void HangUp();

private:
    bool Link(const QString& sLink, QString& sProblem);

    int lMaster = -1;
    QString sSlavePath;
    QString sLinkPath; // empty while there is no link of ours
};
