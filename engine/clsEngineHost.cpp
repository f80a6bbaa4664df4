#include "engine/clsEngineHost.h"

#include "platform/clsPortBindings.h"
#include "platform/clsSerialControl.h"

clsEngineHost::clsEngineHost() = default;

clsEngineHost::~clsEngineHost() = default;

clsSerialControl& clsEngineHost::SerialPort() {
    if (!oNoPort) {
        oNoPort = std::make_unique<clsSerialControl>([](qint16) { return QString(); });
    }
    return *oNoPort;
}

QString clsEngineHost::PortName(qint16 iPort) const {
    return clsPortBindings::PortName(iPort);
}
