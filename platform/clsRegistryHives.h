#pragma once

#include <QString>

#include <windows.h>

#include <functional>

// Where this program finds the keys it names under HKEY_LOCAL_MACHINE: the
// settings store's, and the system's that name its information tool. A
// standard user may not write there, so for such a user the settings store
// keeps its keys under HKEY_CURRENT_USER, a whole key at a time. A test
// names keys of its own for both hives, and says whether the machine's may
// be written, since Wine does not enforce the registry's permissions.
class clsRegistryHives {
public:
    // A key of the registry: a root key and the path below it.
    struct Key {
        HKEY hRoot = nullptr;
        QString sPath;
    };

    // A root key's name, then maybe a path below it, separated by "\".
    QString sMachine = QStringLiteral("HKEY_LOCAL_MACHINE");
    QString sUser = QStringLiteral("HKEY_CURRENT_USER");
    // Whether the key sPath below sMachine may be written, or made where it
    // is missing; when empty, the registry is asked.
    std::function<bool(const QString& sPath)> oMayWriteMachine;

    // The hives every key of this process opens in.
    static const clsRegistryHives& Current();
    static void Use(const clsRegistryHives& oHives);

    // The key sPath below sBase, a root key's name and maybe a path; no
    // root where sBase names none.
    static Key Below(const QString& sBase, const QString& sPath);
};
