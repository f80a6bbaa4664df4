#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class clsJRT_Registry;

// Which device each port number 1 to 16 stands for. On Windows port n is
// COMn unless a binding names another COM port (adapters often get COM17
// and above, which no number reaches); elsewhere a number stands for no
// device until one is bound. The technician knows a port by its number;
// the bindings are kept in the settings store beside the line settings, as
// values "COM1" to "COM16" of the same key.
class clsPortBindings {
public:
    static constexpr qint16 iFirstPort = 1;
    static constexpr qint16 iLastPort = 16;

    // What port number iPort goes by, in the status log and as its value's
    // name in the store: "COM5".
    static QString PortName(qint16 iPort);

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
    // Whether a binding names the device iPort stands for.
    bool IsBound(qint16 iPort) const {
        return IsPortNumber(iPort) && !asDevices[iPort - 1].isEmpty();
    }
    // The first number that stands for sDevice; 0 when none.
    qint16 PortOf(const QString& sDevice) const;
    // A device is bound to one number at most: binding it to iPort frees
    // the one it had. False, and nothing changed, unless iPort is 1 to 16
    // and sDevice names a device as NameForm says.
    bool Bind(qint16 iPort, const QString& sDevice);
    void Unbind(qint16 iPort);

    // Binds each device of asFound that was not found at an earlier start
    // to the first free number, in the order found; an unbound device that
    // was seen before stays unbound. Returns the numbers bound. Where
    // numbers name ports of their own, binds none: a number taken for
    // another device would no longer reach its own port.
    QList<qint16> Adopt(const QStringList& asFound);

    // Where the system gives USB adapters names that stay across plugging;
    // Windows has no such folder.
    static QString ByIdFolder() { return QStringLiteral("/dev/serial/by-id"); }
    // The serial devices of this machine: on Windows the COM ports in the
    // order of their numbers; elsewhere USB adapters by their stable names
    // in sByIdFolder first, then the ports no such name leads to.
    static QStringList FoundDevices(const QString& sByIdFolder = ByIdFolder());
    // Whether sDevice is on this machine now.
    static bool IsPresent(const QString& sDevice);
    // What the system tells of each of asDevices, in their order: its
    // maker, product and serial number; empty when it tells nothing. The
    // system's ports are looked at once for all of them.
    static QStringList Descriptions(const QStringList& asDevices);
    static QString Description(const QString& sDevice) {
        return Descriptions({sDevice}).constFirst();
    }
    // How a device is named, for one who typed a name that is none:
    // "a COM port's name, such as COM17" on Windows.
    static QString NameForm();

private:
    static bool IsPortNumber(qint16 iPort) { return iPort >= iFirstPort && iPort <= iLastPort; }
    // Whether port number n stands for COMn until it is bound.
    static bool NumbersNamePorts();
    // sDevice as a binding keeps it: on Windows "COMn" for "COMn" or
    // "\\.\COMn" in any case, elsewhere an absolute path; empty when it
    // names no device.
    static QString DeviceName(const QString& sDevice);
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
