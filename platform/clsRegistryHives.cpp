#include "platform/clsRegistryHives.h"

namespace {

clsRegistryHives& InUse() {
    static clsRegistryHives oHives;
    return oHives;
}

} // namespace

const clsRegistryHives& clsRegistryHives::Current() {
    return InUse();
}

void clsRegistryHives::Use(const clsRegistryHives& oHives) {
    InUse() = oHives;
}
