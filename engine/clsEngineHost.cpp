#include "engine/clsEngineHost.h"

#include "platform/clsSerialControl.h"

clsEngineHost::clsEngineHost() = default;

clsEngineHost::~clsEngineHost() = default;

clsSerialControl& clsEngineHost::CommPort() {
    if (!oNoPort) {
        oNoPort = std::make_unique<clsSerialControl>([](qint16) { return QString(); });
    }
    return *oNoPort;
}
