#pragma once

#include <QString>

// Where the program keeps its data, below the user's own folders: the same
// for the window and the headless command, so that each finds what the
// other left.
namespace mdlDataPaths {

// The settings file behind the store where there is no registry:
// Quellis/Tessivar.ini in the user's configuration folder.
QString SettingsFile();
// Held while the list of recent files changes, beside the settings file.
QString RecentFilesLock();
// The ledger of uploads: uploads.jsonl in "Quellis/Tessivar" below the
// user's data folder.
QString LedgerFile();
// The serial numbers' store where none is named: serials.json beside the
// ledger.
QString SerialNumberStore();

} // namespace mdlDataPaths
