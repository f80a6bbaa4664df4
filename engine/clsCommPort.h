#pragma once

#include <QtGlobal>

// The serial line settings of an upload. The settings store fills them at
// every reset of the application object.
class clsCommPort {
public:
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

private:
    qint16 iNumber = 1;
    qint32 lBaudRate = 57600;
    qint16 iDataBits = 8;
    qint32 lParity = 2;
    float fStopBits = 1.0F;
    qint32 lHandshaking = 3;
};
