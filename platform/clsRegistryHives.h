#pragma once

#include <QString>

#include <functional>

// Where the settings store on Windows keeps a key that its callers name
// under HKEY_LOCAL_MACHINE. A standard user may not write there, so for
// such a user the key lives under HKEY_CURRENT_USER, a whole key at a time.
// A test names keys of its own for both, and says whether the machine's may
// be written, since Wine does not enforce the registry's permissions.
class clsRegistryHives {
public:
    // A root key's name, then maybe a path below it, separated by "\".
    QString sMachine = QStringLiteral("HKEY_LOCAL_MACHINE");
    QString sUser = QStringLiteral("HKEY_CURRENT_USER");
    // Whether the key sPath below sMachine may be written, or made where it
    // is missing; when empty, the registry is asked.
    std::function<bool(const QString& sPath)> oMayWriteMachine;

    // The hives every settings key of this process opens in.
    static const clsRegistryHives& Current();
    static void Use(const clsRegistryHives& oHives);
};
