#include "platform/mdlDataPaths.h"

#include <QStandardPaths>

namespace {

QString DataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Quellis/Tessivar");
}

} // namespace

namespace mdlDataPaths {

QString SettingsFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Quellis/Tessivar.ini");
}

QString RecentFilesLock() {
    return SettingsFile() + QStringLiteral(".recent");
}

QString LedgerFile() {
    return DataFolder() + QStringLiteral("/uploads.jsonl");
}

QString SerialNumberStore() {
    return DataFolder() + QStringLiteral("/serials.json");
}

} // namespace mdlDataPaths
