#include "tests/support/clsPrivateRegistry.h"

clsPrivateRegistry::clsPrivateRegistry() = default;

clsPrivateRegistry::~clsPrivateRegistry() = default;
