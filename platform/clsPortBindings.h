#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class clsJRT_Registry;

// Which device each port number 1 to 16 stands for, where ports have no
// numbers of their own (on Windows port n is COMn). The technician knows a
// port by its number; the bindings are kept in the settings store beside
// the line settings, as values "COM1" to "COM16" of the same key.
class clsPortBindings {
public:
    static constexpr qint16 iFirstPort = 1;
    static constexpr qint16 iLastPort = 16;

    // sKeyPath: the settings store's key below the local-machine root.
    explicit clsPortBindings(QString sKeyPath);

    // Failures of the store leave what could not be read unbound.
    void Load();
    // Writes the numbers bound or unbound since the last Load or Store, so
    // that what another copy of the program stored meanwhile stays, and
    // frees the numbers another copy gave the devices bound here; false
    // when the store could not be written.
    bool Store();

    // The device iPort stands for; empty when none.
    QString Device(qint16 iPort) const;
    // The number that stands for sDevice; 0 when none.
    qint16 PortOf(const QString& sDevice) const;
    // A device has one number at most: binding it to iPort frees the one it
    // had. False, and nothing changed, unless iPort is 1 to 16 and sDevice
    // an absolute path.
    bool Bind(qint16 iPort, const QString& sDevice);
    void Unbind(qint16 iPort);

    // Binds each device of asFound that was not found at an earlier start
    // to the first free number, in the order found; an unbound device that
    // was seen before stays unbound. Returns the numbers bound.
    QList<qint16> Adopt(const QStringList& asFound);

    // Where the system gives USB adapters names that stay across plugging.
    static QString ByIdFolder() { return QStringLiteral("/dev/serial/by-id"); }
    // The serial devices of this machine: USB adapters by their stable
    // names in sByIdFolder first, then the ports no such name leads to.
    static QStringList FoundDevices(const QString& sByIdFolder = ByIdFolder());

private:
    static bool IsPortNumber(qint16 iPort) { return iPort >= iFirstPort && iPort <= iLastPort; }
    static bool IsDevicePath(const QString& sDevice);
    // The devices seen at earlier starts, as oRegistry's key holds them.
    static QStringList SeenIn(const clsJRT_Registry& oRegistry);
    // The devices bound since the last Load or Store.
    QStringList NewlyBound() const;
    // Marks iPort as one Store writes.
    void Chosen(qint16 iPort);

    QString sKeyPath;
    QStringList asDevices; // index 0 is port 1
    // The numbers bound or unbound since the last Load or Store.
    QList<qint16> aiChosen;
    QStringList asSeen;
};
