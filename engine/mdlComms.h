#pragma once

#include <QByteArray>
#include <QString>

class clsApplication;

// The serial link: opens the port for an upload, switches it to the
// board's 14-character replies, closes it, and moves the line settings
// between the application object and the settings store.
namespace mdlComms {

// Opens the port in byte mode at the target's rate; raises the serial
// control's 8000-series error, or 2004 for any other failure.
void EstablishCom(clsApplication& oApp);
// Reopens the port for 14-character text replies; raises what fails.
void SetTextMode(clsApplication& oApp);
// Queues aBytes for sending; raises the control's failure.
void Send(clsApplication& oApp, const QByteArray& aBytes);
// Sends aBytes and waits until they have left; raises the control's failure.
void SendWhole(clsApplication& oApp, const QByteArray& aBytes);
// The serial control's own numbers.
bool IsSerialControlError(qint32 lNumber);
// Closes the port; closing a port that is not open is no failure.
void CloseCom(clsApplication& oApp);
// Failures of the store are ignored value by value: a value that is
// missing, of the wrong type or out of range keeps its current setting.
void RestoreCommSettings(clsApplication& oApp);
void StoreCommSettings(clsApplication& oApp);

// The settings store's key of the line settings and the port bindings.
QString CommsKeyPath();
// The device port iPort stands for, as the settings store binds it now.
QString DeviceOf(qint16 iPort);
// Binds serial devices that appeared since the last start to free port
// numbers; the program calls it once as it starts.
void BindNewDevices();

} // namespace mdlComms
