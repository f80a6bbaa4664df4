#pragma once

#include <QString>

// One key of the settings store, addressed by a root key and a sub-key path.
// Opening keys and reading and writing values come with the settings store;
// until then the object carries its addressing fields.
class clsJRT_Registry {
public:
    static constexpr qint32 lHKeyLocalMachine = static_cast<qint32>(0x80000002);

    bool AutoCreate() const { return bAutoCreate; }
    void SetAutoCreate(bool bCreateable) { bAutoCreate = bCreateable; }
    qint32 RootKey() const { return lRootKey; }
    void SetRootKey(qint32 lNewRoot) { lRootKey = lNewRoot; }
    const QString& SubKey() const { return sSubKey; }
    void SetSubKey(const QString& sNewSubKey) { sSubKey = sNewSubKey; }

private:
    qint32 lRootKey = lHKeyLocalMachine;
    QString sSubKey;
    bool bAutoCreate = false;
};
