#include "engine/clsRecentFileStore.h"

#include "core/mdlSteps.h"
#include "engine/clsApplication.h"
#include "platform/clsFileLock.h"
#include "platform/clsJRT_Registry.h"
#include "platform/mdlDataPaths.h"
#include "resources/mdlResources.h"

using mdlSteps::Ignoring;

namespace {
constexpr int iShiftedValues = 3;
// A copy that holds the list longer than this is stuck. Adding without the
// lock could lose the path the stuck copy adds: the path goes unrecorded,
// as on any store that cannot be written.
constexpr int lLockWaitMs = 2000;
} // namespace

QStringList clsRecentFileStore::List() {
    OpenKey(false);
    QStringList asPaths;
    for (QString sPath = Read(1); !sPath.isEmpty(); sPath = Read(int(asPaths.size()) + 1)) {
        asPaths.append(sPath);
    }
    Ignoring([this] { oApp.Registry().CloseKey(); });
    return asPaths;
}

// Another copy adding at the same moment shifts the list it read before
// this save and writes it over this one: one copy adds at a time.
void clsRecentFileStore::Add(const QString& sPath) {
    clsFileLock oLock(mdlDataPaths::RecentFilesLock());
    if (!oLock.Lock(lLockWaitMs)) {
        return;
    }
    OpenKey(true);
    clsJRT_Registry& oRegistry = oApp.Registry();
    for (int iName = iShiftedValues; iName >= 1; --iName) {
        const QString sMoved = Read(iName);
        if (!sMoved.isEmpty()) {
            Ignoring([&] {
                oRegistry.SetValue(QString::number(iName + 1), clsJRT_Registry::RegSz, sMoved);
            });
        }
    }
    Ignoring([&] { oRegistry.SetValue(QStringLiteral("1"), clsJRT_Registry::RegSz, sPath); });
    Ignoring([&] { oRegistry.CloseKey(); });
}

void clsRecentFileStore::OpenKey(bool bCreate) {
    Ignoring([&] {
        oApp.Registry().OpenMachineKey(
            oApp.RegistryRoot() + mdlResources::LoadResString(eRes::RecentFilesKey), bCreate);
    });
}

// Each read starts from empty, so a failed one can neither repeat the
// path before it nor keep the list going.
QString clsRecentFileStore::Read(int iName) const {
    QString sPath;
    Ignoring([&] {
        sPath = oApp.Registry().Value(QString::number(iName), clsJRT_Registry::RegSz).toString();
    });
    return sPath;
}
