#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>

#include <memory>

// The settings store where there is no registry: one file that QSettings
// reads and writes under its lock file and replaces whole on every save. A
// key is a section named by its path from the root key; a REG_DWORD is a bare
// decimal integer, a REG_SZ a quoted text with "\" escapes:
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Quellis\Tessivar\2.6.0\Comms]
//   PortNumber=1
//   StopBits="1.5"
//
// The last line counts the bytes before it, so that a save that came out
// short shows itself and the file from before it is put back. Reading skips
// every line it cannot take and keeps the rest.
namespace mdlSettingsFile {

// Opens the key asKey (the root key's name, then the names of the path) in
// the file sPath, creating the key when bCreate is set; oStore gets the file
// with the key as its group and lDisposition whether the key was created.
// Returns a clsJRT_Registry::eResult.
qint32 OpenStore(const QString& sPath, const QStringList& asKey, bool bCreate,
                 std::unique_ptr<QSettings>& oStore, qint32& lDisposition);

// The store's key of the value sValueName in the open key.
QString StoreKey(const QString& sValueName);

// Writes oStore to disk; returns a clsJRT_Registry::eResult.
qint32 SaveStore(QSettings& oStore);

} // namespace mdlSettingsFile
