#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

// One open key of the settings store: the registry on Windows (a key under
// the local machine kept under the current user where this user may not
// write it; see clsRegistryHives), elsewhere one settings file per user. A value is a QString
// (REG_SZ) or a qint32 (REG_DWORD).
class clsSettingsKey {
public:
    enum eDisposition : qint32 { CreatedNewKey = 1, OpenedExistingKey = 2 };
    // The registry's result codes, which the store reports.
    enum eResult : qint32 {
        ResultSuccess = 0,
        ResultNotFound = 2,
        ResultAccessDenied = 5,
        ResultInvalidHandle = 6,
        ResultDiskFull = 112,
        // Another program held the store for longer than a save may wait.
        ResultBusy = 170,
        ResultNoParent = 1010
    };

    // Opens the key asKey (the root key's name, then the names of the
    // path), creating it where bCreate is set; a key that can be read but
    // not written opens for reading, and its saves fail. lDisposition
    // tells whether the key was created.
    static qint32 Open(const QStringList& asKey, bool bCreate,
                       std::unique_ptr<clsSettingsKey>& oKey, qint32& lDisposition);
    ~clsSettingsKey();
    clsSettingsKey(const clsSettingsKey&) = delete;
    clsSettingsKey& operator=(const clsSettingsKey&) = delete;

    bool Contains(const QString& sValueName) const;
    // The value as stored: a QString or a qint32.
    QVariant Value(const QString& sValueName) const;
    void SetValue(const QString& sValueName, const QVariant& vData);
    // Writes to disk what was set since the open, keeping what another
    // program saved meanwhile.
    qint32 Save();

    // Where the keys are kept, for a message: "the settings file" and its
    // path, or "the registry".
    static QString StoreName();

private:
    // What the platform's store keeps of the key.
    struct Stored;

    explicit clsSettingsKey(std::unique_ptr<Stored> oNewStored);

    std::unique_ptr<Stored> oStored;
};
