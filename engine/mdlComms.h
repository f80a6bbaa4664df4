#pragma once

#include <QByteArray>
#include <QString>

class clsCommPort;
class clsJRT_Registry;
class clsSerialControl;

// The serial link: opens the port for an upload, switches it to the
// board's 14-character replies, closes it, and moves the line settings
// between their object and the settings store.
namespace mdlComms {

// Opens oPort with oSettings in byte mode at the rate of target yTargetID,
// which oSettings takes; raises the serial control's 8000-series error, or
// 2004 for any other failure.
void EstablishCom(clsSerialControl& oPort, clsCommPort& oSettings, quint8 yTargetID);
// Reopens the port for 14-character text replies; raises what fails.
void SetTextMode(clsSerialControl& oPort);
// Queues aBytes for sending; raises the control's failure.
void Send(clsSerialControl& oPort, const QByteArray& aBytes);
// Sends aBytes and waits until they have left; raises the control's failure.
void SendWhole(clsSerialControl& oPort, const QByteArray& aBytes);
// The serial control's own numbers.
bool IsSerialControlError(qint32 lNumber);
// Closes the port; closing a port that is not open is no failure.
void CloseCom(clsSerialControl& oPort);
// Failures of the store are ignored value by value: a value that is
// missing, of the wrong type or out of range keeps its current setting.
void RestoreCommSettings(clsJRT_Registry& oRegistry, clsCommPort& oSettings);
void StoreCommSettings(clsJRT_Registry& oRegistry, const clsCommPort& oSettings);

// The settings store's key of the line settings and the port bindings.
QString CommsKeyPath();
// The device port iPort stands for, as the settings store binds it now.
QString DeviceOf(qint16 iPort);
// Binds serial devices that appeared since the last start to free port
// numbers; the program calls it once as it starts.
void BindNewDevices();

} // namespace mdlComms
