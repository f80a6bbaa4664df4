#pragma once

#include <QString>

// The serial line settings of an upload. The settings store fills them at
// every reset of the application object.
class clsCommPort {
public:
    enum eParity : qint32 {
        ParityEven = 0,
        ParityOdd = 1,
        ParityNone = 2,
        ParityMark = 3,
        ParitySpace = 4
    };

    qint16 Number() const { return iNumber; }
    void SetNumber(qint16 iNewNumber) { iNumber = iNewNumber; }
    qint32 BaudRate() const { return lBaudRate; }
    void SetBaudRate(qint32 lNewBaudRate) { lBaudRate = lNewBaudRate; }
    qint16 DataBits() const { return iDataBits; }
    void SetDataBits(qint16 iNewDataBits) { iDataBits = iNewDataBits; }
    qint32 Parity() const { return lParity; }
    void SetParity(qint32 lNewParity) { lParity = lNewParity; }
    float StopBits() const { return fStopBits; }
    void SetStopBits(float fNewStopBits) { fStopBits = fNewStopBits; }
    qint32 Handshaking() const { return lHandshaking; }
    void SetHandshaking(qint32 lNewHandshaking) { lHandshaking = lNewHandshaking; }

    // As the serial control takes them: "57600,N,8,1", with "." in the stop
    // bits in every locale.
    QString SettingsString() const;

private:
    qint16 iNumber = 1;
    qint32 lBaudRate = 57600;
    qint16 iDataBits = 8;
    qint32 lParity = ParityNone;
    float fStopBits = 1.0F;
    qint32 lHandshaking = 3;
};
