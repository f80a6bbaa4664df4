#pragma once

#include "platform/clsSettingsKey.h"

#include <QString>
#include <QVariant>

#include <memory>

// One key of the settings store, addressed by a root key and a sub-key path
// of names separated by "\". Values are texts (REG_SZ) or 32-bit integers
// (REG_DWORD). On Windows the store is the registry, where a key under the
// local machine that this user may not write is kept under the current
// user (see clsSettingsKey); elsewhere one settings file per user, in the
// user's configuration folder, with the same key and value names. Every
// CloseKey writes what was set to disk. A key that can be read but not
// written opens all the same: what is stored is used, and only saving
// fails.
class clsJRT_Registry {
public:
    static constexpr qint32 lHKeyLocalMachine = static_cast<qint32>(0x80000002);
    // The registry's own type codes, REG_SZ and REG_DWORD.
    enum eValueType : qint32 { RegSz = 1, RegDword = 4 };
    // The store's dispositions and result codes; OpenKey and CloseKey
    // raise the results as errors.
    using enum clsSettingsKey::eDisposition;
    using enum clsSettingsKey::eResult;

    clsJRT_Registry();
    ~clsJRT_Registry();
    clsJRT_Registry(const clsJRT_Registry&) = delete;
    clsJRT_Registry& operator=(const clsJRT_Registry&) = delete;

    bool AutoCreate() const { return bAutoCreate; }
    void SetAutoCreate(bool bCreateable) { bAutoCreate = bCreateable; }
    qint32 RootKey() const { return lRootKey; }
    void SetRootKey(qint32 lNewRoot) { lRootKey = lNewRoot; }
    const QString& SubKey() const { return sSubKey; }
    void SetSubKey(const QString& sNewSubKey) { sSubKey = sNewSubKey; }

    // Raises 1006, 1007, 1009 or the conversion's error.
    void SetValue(const QString& sValueName, qint32 rtType, const QVariant& vData);
    // An empty variant, a QString (REG_SZ) or a qint32 (REG_DWORD); a value
    // stored with the other type reads as empty. Raises 1003, 1006, 1007.
    QVariant Value(const QString& sValueName, qint32 rtType) const;
    // Writes what was set to disk; raises 1009 when that fails.
    void CloseKey();
    // Returns the disposition; raises 1000, 1004 or 1009.
    qint32 OpenKey();
    // The program's one way to its keys: sNewSubKey below the local
    // machine's root, created where bCreate; as OpenKey.
    qint32 OpenMachineKey(const QString& sNewSubKey, bool bCreate);

private:
    qint32 lRootKey = lHKeyLocalMachine;
    QString sSubKey;
    bool bAutoCreate = false;
    // The store with the open key as its group; none while no key is open.
    std::unique_ptr<clsSettingsKey> oStore;
};
