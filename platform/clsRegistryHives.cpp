#include "platform/clsRegistryHives.h"

#include <QStringList>

#include <utility>

namespace {

clsRegistryHives& InUse() {
    static clsRegistryHives oHives;
    return oHives;
}

HKEY RootNamed(const QString& sName) {
    const std::pair<const char*, HKEY> aRoots[] = {{"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
                                                   {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
                                                   {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
                                                   {"HKEY_USERS", HKEY_USERS},
                                                   {"HKEY_PERFORMANCE_DATA", HKEY_PERFORMANCE_DATA},
                                                   {"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
                                                   {"HKEY_DYN_DATA", HKEY_DYN_DATA}};
    for (const auto& [sRoot, hRoot] : aRoots) {
        if (sName == QLatin1String(sRoot)) {
            return hRoot;
        }
    }
    return nullptr;
}

} // namespace

const clsRegistryHives& clsRegistryHives::Current() {
    return InUse();
}

void clsRegistryHives::Use(const clsRegistryHives& oHives) {
    InUse() = oHives;
}

clsRegistryHives::Key clsRegistryHives::Below(const QString& sBase, const QString& sPath) {
    QStringList asNames = (sBase + u'\\' + sPath).split(u'\\', Qt::SkipEmptyParts);
    const HKEY hRoot = RootNamed(asNames.takeFirst());
    return {hRoot, asNames.join(u'\\')};
}
